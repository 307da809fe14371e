#pragma once

#include "PrintPlan.h"

#include "model/Conflict.h"
#include "render/DiagramView.h"
#include "render/SheetLayout.h"
#include "render/SheetPainter.h"

#include <QSize>

#include <memory>
#include <vector>

class Document;
namespace CompareOverlay {
class Compared;
}
class QPainter;
class Renderer;

// The print plan made real: the document recorded at the sheet's scale
// and laid out as PrintPlan measures it, ready to be painted onto a page, a
// file or a printer (SheetPainter).
//
// The recording is the renderer's own: a second Renderer draws the
// document at the sheet's zoom level (as many pixels a minute, twice as many
// a kilometre) into its display list, with the minute labels made for that
// scale; the train labels are placed at that scale and drawn as text. The
// document comes out as it went in: its settings, its minute labels, its
// flags and the rows' screen points are put back, and the labels' images
// and positions are never touched, so the window's picture stays valid.
class PrintSheet
{
public:
    struct Options
    {
        bool timeLabels = true;   // the minute labels ("Časové popisky")
        bool showCategory = true; // labels with their category ("Zobr. druh vlaku")
        // The conflicts marked on the sheet as in the window; null: none.
        const std::vector<Conflict> *conflicts = nullptr;
        // The compared document drawn behind the trains as in the window;
        // null: none.
        CompareOverlay::Compared *compared = nullptr;
    };

    PrintSheet(Document &doc, const PrintPlan::Choice &choice, const Options &options);
    ~PrintSheet();
    PrintSheet(const PrintSheet &) = delete;
    PrintSheet &operator=(const PrintSheet &) = delete;

    // The sheet in its pixels (13 to 3 mm); PrintPlan's width and height.
    QSize pixels() const;
    const SheetLayout &layout() const { return m_layout; }
    const SheetPainter::Recording &recording() const { return m_recording; }

    // Paints the sheet in its pixels.
    void paint(QPainter &painter) const;

private:
    DiagramView m_view;
    std::unique_ptr<Renderer> m_renderer;
    SheetLayout m_layout;
    SheetPainter::Recording m_recording;
};
