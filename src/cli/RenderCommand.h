#pragma once

#include "LabelSteps.h"

#include <QImage>
#include <QSize>
#include <QStringList>

#include <cstdio>
#include <optional>

class Document;

// vlakorys-cli render FILE.vrs OUT.png|OUT.bmp: what the editor's diagram
// surface PaintBox1 shows for a document after Open, through the same render
// entry. Options: --size WxH (the paint box, default 1600x900), --zoom Z,
// --ratio X:Y, --scroll H,V (scroll positions in units, held to the bars'
// ranges as the editor holds them) and --time-labels on|off; without them
// the document's own settings apply. --find TEXT highlights the train the
// editor's "Najdi vlak..." finds for TEXT; when none matches, the editor's
// message goes to standard error and no picture is written. OUT.bmp is a
// 24-bit Windows bitmap.
class RenderCommand
{
public:
    static constexpr const char *usage =
        "vlakorys-cli render FILE.vrs OUT.png|OUT.bmp [--size WxH] [--zoom Z] [--ratio X:Y] [--scroll H,V] "
        "[--time-labels on|off] [--find TEXT]";
    // The largest paint box: two pictures of this size stay far below a
    // gigabyte.
    static constexpr int maxSide = 8192;

    struct Options
    {
        QString input;
        QString output;
        QSize size{1600, 900};
        std::optional<int> zoom;
        std::optional<std::pair<int, int>> ratio;
        int hpos = 0;
        int vpos = 0;
        std::optional<bool> timeLabels;
        std::optional<QString> find; // the text typed into "Najdi vlak..."
    };

    explicit RenderCommand(LabelSteps labels = LabelSteps::standard()) : m_labels(std::move(labels)) {}

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

    // Reads the arguments; an empty text, or what is wrong with them.
    static QString parse(const QStringList &args, Options &options);

    // The surface of an opened document under the options.
    // A zoom or ratio other than the document's makes the time labels anew,
    // as a zoom step or "Akt." does in the editor.
    static QImage render(Document &doc, const Options &options, const LabelSteps &labels = LabelSteps::standard());

private:
    LabelSteps m_labels;
};
