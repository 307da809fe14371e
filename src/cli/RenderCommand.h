#pragma once

#include "editing/LabelMakers.h"

#include "editing/PrintPlan.h"
#include "io/PictureFile.h"

#include <QImage>
#include <QSize>
#include <QStringList>

#include <cstdio>
#include <optional>

class Document;

// vlakorys-cli render FILE.vrs OUT.png|OUT.bmp|OUT.pdf|OUT.svg: what the
// editor's diagram surface PaintBox1 shows for a document after Open,
// through the same render entry, or with --sheet the sheet the print dialog
// TForm5 plans. The picture's format follows the name's suffix: a PNG, a
// 24-bit Windows bitmap, a PDF of one page of the picture's size, an SVG.
//
// The view's options: --size WxH (the paint box, default 1600x900),
// --zoom Z, --ratio X:Y, --scroll H,V (scroll positions in units, held to
// the bars' ranges as the editor holds them). The sheet's, with the
// dialog's limits: --layers N, --overlap MIN, --scale PCT, --from H:MM,
// --to H:MM, --stations I-J or --km A-B, --legend on|off and --dpi N (the
// resolution of a PNG or BMP of the sheet). --time-labels on|off serves
// both; without options the document's own settings apply. --find TEXT
// highlights in the view the train the editor's "Najdi vlak..." finds for
// TEXT; when none matches, the editor's message goes to standard error and
// no picture is written.
class RenderCommand
{
public:
    static constexpr const char *usage =
        "vlakorys-cli render SOUBOR.vrs VÝSTUP.png|VÝSTUP.bmp|VÝSTUP.pdf|VÝSTUP.svg [--size ŠxV] [--zoom Z] "
        "[--ratio X:Y] [--scroll H,V] [--time-labels on|off] [--find TEXT] [--no-conflicts] [--sheet [--layers N] [--overlap MIN] "
        "[--scale PROCENTA] [--from H:MM] [--to H:MM] [--stations I-J | --km A-B] [--legend on|off] [--dpi N]]";
    // The largest paint box: two pictures of this size stay far below a
    // gigabyte.
    static constexpr int maxSide = 8192;
    // The resolutions the print dialog offers.
    static constexpr int resolutions[] = {75, 144, 150, 180, 300, 360};

    struct Options
    {
        QString input;
        QString output;
        PictureFile::Format format = PictureFile::Format::Png;
        QSize size{1600, 900};
        std::optional<int> zoom;
        std::optional<std::pair<int, int>> ratio;
        int hpos = 0;
        int vpos = 0;
        std::optional<bool> timeLabels;
        std::optional<QString> find; // the text typed into "Najdi vlak..."
        bool conflicts = true;       // the red marks, as "Konflikty" on shows them

        bool sheet = false;
        PrintPlan::Choice choice; // fromStation and toStation 1-based as given
        int dpi = 300;
    };

    explicit RenderCommand(LabelMakers labels = LabelMakers::standard()) : m_labels(std::move(labels)) {}

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

    // Reads the arguments; an empty text, or what is wrong with them.
    static QString parse(const QStringList &args, Options &options);
    // What the options ask of this document (the train of --find exists,
    // the stations of --stations exist and rise); an empty text, or what is
    // wrong. Turns the stations into positions of the station list.
    static QString check(const Document &doc, Options &options);

    // The surface of an opened document under the options.
    // A zoom or ratio other than the document's makes the time labels anew,
    // as a zoom step or "Akt." does in the editor.
    static QImage viewSurface(Document &doc, const Options &options,
                              const LabelMakers &labels = LabelMakers::standard());

    // Writes the picture the options ask for; an empty text, or what went
    // wrong. The file is replaced only once it is complete.
    static QString write(Document &doc, const Options &options, const LabelMakers &labels = LabelMakers::standard());

private:
    LabelMakers m_labels;
};
