#pragma once

#include <cstdint>

// What a command asks of the one drawing entry, as a value: whether the
// whole drawing is recorded again, whether that rebuild keeps the minute
// labels already recorded, which train labels it places, images and
// outlines again, and whether the pictures are only copied to the surface.
//
// The renderer keeps the flags of a render (paint-only, keep-time-text, the
// label rebuild selector) to itself; they come from here and last one
// render. A default request is the plain render: the visible strips
// replayed, and a rebuild of everything only when the document is marked
// for one (its redrawNeeded).
struct RenderRequest
{
    // The train labels a rebuild processes, as the label rebuild selector
    // holds them: 0 every label, -1 none, n > 0 the n-th label of the list.
    class Labels
    {
    public:
        static constexpr Labels all() { return Labels(0); }
        static constexpr Labels none() { return Labels(-1); }
        static constexpr Labels one(int32_t number) { return Labels(number); }

        constexpr int32_t selector() const { return m_selector; }
        constexpr bool operator==(const Labels &) const = default;

    private:
        constexpr explicit Labels(int32_t selector) : m_selector(selector) {}
        int32_t m_selector;
    };

    bool rebuild = false;         // record everything again (marks the document's redrawNeeded)
    bool keepMinuteTexts = false; // a rebuild keeps the recorded minute labels
    Labels labels = Labels::all();
    bool paintOnly = false; // copy the pictures; no replay unless they are stale

    constexpr bool operator==(const RenderRequest &) const = default;

    // The pictures copied again: the surface was painted over (an outline
    // taken away, a preview moved) or the view did not move.
    static constexpr RenderRequest paint() { return {false, false, Labels::all(), true}; }
    // Everything recorded and placed anew: after Open, an import, an edit of
    // the lists, a zoom step.
    static constexpr RenderRequest rebuildAll() { return {true, false, Labels::all(), false}; }
    // A rebuild that keeps the minute labels and processes only the given
    // train labels: the document's drawing changed, its texts did not.
    static constexpr RenderRequest redraw(Labels labels) { return {true, true, labels, false}; }
};
