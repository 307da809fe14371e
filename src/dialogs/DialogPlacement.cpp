#include "DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

QRect screenArea(const QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}

} // namespace

namespace DialogPlacement {

void place(QWidget *window, Spot spot)
{
    const QRect area = screenArea(window);
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) * spot.across / spot.of,
                 area.y() + (area.height() - size.height()) * spot.down / spot.of);
}

void keepOnScreen(QWidget *window, Spot spot)
{
    const QRect area = screenArea(window);
    const QRect frame = window->frameGeometry();
    int left = frame.left();
    int top = frame.top();
    if (frame.left() + frame.width() > area.left() + area.width())
        left = area.left() + (area.width() - frame.width()) * spot.across / spot.of;
    if (frame.top() + frame.height() > area.top() + area.height())
        top = area.top() + (area.height() - frame.height()) * spot.down / spot.of;
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (left != frame.left() || top != frame.top())
        window->move(left, top);
}

} // namespace DialogPlacement
