#pragma once

#include "MouseEvent.h"

// The insert-train tool as the diagram's mouse entry (DiagramMouse) sees it.
// Every pointer move over the diagram is passed to pointerMove, active or
// not (the tool decides what an inactive tool does with it); a left press
// goes to leftPress instead of picking a label while the tool is active.
class InsertToolInput
{
public:
    virtual ~InsertToolInput() = default;
    virtual bool isActive() const = 0;
    virtual void leftPress(const MouseEvent &e) = 0;
    virtual void pointerMove(const MouseEvent &e) = 0;
};

// No insert tool: the mouse of a diagram without one (the benchmarks, the
// tests of the mouse alone) leaves every press to the labels.
class NoInsertTool : public InsertToolInput
{
public:
    bool isActive() const override { return false; }
    void leftPress(const MouseEvent &) override {}
    void pointerMove(const MouseEvent &) override {}
};
