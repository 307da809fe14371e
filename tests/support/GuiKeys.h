#pragma once

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

// Keys as a person types them: each goes to the widget that has the focus
// at that moment, so an in-place editor opened by the first key receives
// the rest.
namespace GuiKeys {

inline QWidget *focus(QWidget *fallback)
{
    QWidget *w = QApplication::focusWidget();
    return w ? w : fallback;
}

// Any text, Czech letters included: each character as a key press with that
// text.
inline void type(QWidget *fallback, const QString &text)
{
    for (QChar c : text) {
        const char16_t u = c.toUpper().unicode();
        const auto k = u < 0x80 && (QChar(u).isLetterOrNumber() || QStringLiteral(" +-*:.").contains(QChar(u)))
                           ? static_cast<Qt::Key>(u)
                           : Qt::Key_unknown;
        for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(t, k, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focus(fallback), &event);
        }
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

// Runs the steps once the modal dialog about to be shown is up; a dialog the
// steps leave open is closed, so a failing step cannot hang the test.
inline void whenActive(QDialog *modal, std::function<void()> steps)
{
    QTimer::singleShot(0, modal, [modal, steps = std::move(steps)] {
        QVERIFY(QTest::qWaitForWindowActive(modal));
        steps();
        if (modal->isVisible())
            modal->reject();
    });
}

} // namespace GuiKeys
