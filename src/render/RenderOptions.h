#pragma once

#include "model/Conflict.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <functional>
#include <vector>

namespace CompareOverlay {
class Compared;
}

// How the renderer draws, as a value its one caller (Diagram, or a sheet's
// own renderer) hands to every render: the panel's three check boxes, the
// green trains, the conflict marks, the compared document and the insert
// tool's preview. The renderer keeps the options of the latest render and
// changes none of them.
struct RenderOptions
{
    bool timeLabels = false; // "Časové popisky"
    bool smoothing = false;  // "Vyhlazení"
    bool category = true;    // "Zobr. druh vlaku"

    // The train named `found` exactly is drawn green while `on`, and the
    // train `other` with it (both trains of a chosen conflict); the
    // compared train comparedEmphasis (0-based; -1: none) is emphasised.
    struct Highlight
    {
        bool on = false;
        QByteArray found;
        QByteArray other;
        int32_t comparedEmphasis = -1;
    };
    Highlight highlight;

    // Red over the train lines at each rebuild (ConflictMarks); null: no
    // marks. The list is its owner's and must outlive the next rebuild.
    const std::vector<Conflict> *conflictMarks = nullptr;
    // Drawn behind the current trains at each rebuild (CompareOverlay);
    // null: none. Its owner keeps it until the next rebuild.
    CompareOverlay::Compared *compared = nullptr;

    // Every strip recorded, every label image drawn and every text painted
    // at each rebuild, the lines in one band: for comparisons with the
    // picture built a piece at a time.
    bool eager = false;

    // Drawn on the surface as the last step of a full render (the insert
    // tool's preview); it decides itself whether it has points.
    std::function<void(QImage &surface)> overlay;
};
