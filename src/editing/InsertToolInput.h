#pragma once

#include "MouseEvent.h"

class InsertToolInput { public: virtual ~InsertToolInput() = default; virtual bool isActive() const = 0; virtual void leftPress(const MouseEvent &e) = 0; virtual void pointerMove(const MouseEvent &e) = 0; };
