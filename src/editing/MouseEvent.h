#pragma once

#include <QPoint>
#include <Qt>

struct MouseEvent { Qt::MouseButton button; Qt::MouseButtons buttons; Qt::KeyboardModifiers modifiers; QPoint pos; };
