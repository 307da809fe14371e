#pragma once

#include <QString>
#include <utility>

// Small pieces the hand-built dialogs share.
namespace WidgetHelpers {

// Gives a new control the name its handlers and the tests look it up by.
template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Runs f with the flag set, so that handlers ignore what the window itself
// changes.
template <typename F> void guarded(bool &flag, F &&f)
{
    const bool was = flag;
    flag = true;
    std::forward<F>(f)();
    flag = was;
}

} // namespace WidgetHelpers
