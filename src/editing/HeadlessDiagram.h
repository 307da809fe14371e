#pragma once

#include "Diagram.h"

#include "model/Document.h"
#include "render/HeadlessWindow.h"

// A document and its diagram with no window at all: a HeadlessWindow with a
// paint box of the given size stands for TForm1. The tests and benchmarks
// draw, edit and measure through it; the shortcuts name the diagram's parts
// they reach for most.
struct HeadlessDiagram
{
    explicit HeadlessDiagram(QSize paintBox = QSize(1600, 900), LabelMakers labels = LabelMakers::standard())
        : window(paintBox), diagram(doc, window, std::move(labels))
    {
    }
    HeadlessDiagram(const HeadlessDiagram &) = delete;
    HeadlessDiagram &operator=(const HeadlessDiagram &) = delete;

    Document doc;
    HeadlessWindow window;
    Diagram diagram;
    DiagramView &view = diagram.view();
    const Renderer &renderer = diagram.renderer();
    ViewCommands &commands = diagram.commands();
};
