#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QtTest>

// Keys as a person types them: each goes to the widget that has the focus
// at that moment, so an in-place editor opened by the first key receives
// the rest.
namespace GuiKeys {

inline QWidget *focus(QWidget *fallback)
{
    QWidget *w = QApplication::focusWidget();
    return w ? w : fallback;
}

inline Qt::Key keyOf(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u' ' || u == u'+' || u == u'-' || u == u'*'
        || u == u':' || u == u'.')
        return static_cast<Qt::Key>(u);
    return Qt::Key_unknown;
}

// Any text, Czech letters included: each character as a key press with that
// text.
inline void type(QWidget *fallback, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, keyOf(c), Qt::NoModifier, QString(c));
        QApplication::sendEvent(focus(fallback), &press);
        QKeyEvent release(QEvent::KeyRelease, keyOf(c), Qt::NoModifier, QString(c));
        QApplication::sendEvent(focus(fallback), &release);
    }
}

inline void key(QWidget *fallback, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focus(fallback), k, modifiers);
}

// Shows a window and waits until it is active, so that focus works.
inline bool activate(QWidget *window)
{
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

} // namespace GuiKeys
