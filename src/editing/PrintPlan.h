#pragma once

#include "render/SheetLayout.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

class Document;

// The arithmetic of the print-to-bitmap dialog TForm5: how large the
// diagram comes out for a number of layers (the day cut into strips printed
// one under another), an overlap between the strips, a scale, a time range
// and a kilometre range, and how large a printer's page is at a resolution.
// Sizes are in pixels of the diagram at that scale; millimetres() turns them
// into millimetres as the dialog shows them. They are the sizes of the
// sheet that is printed (SheetLayout decides both), measured in the fonts
// the sheet is drawn in.
class PrintPlan
{
public:
    enum class TimeRange { All, Span };               // "Vše", "Od:" ... "do:"
    enum class KmRange { All, Stations, Kilometres }; // "Vše", "Od stanice:", "Od kilometru:"

    static constexpr int minLayers = 1, maxLayers = 30;
    static constexpr int minOverlap = 0, maxOverlap = 60;
    static constexpr int minScale = 50, maxScale = 525, scaleStep = 25;
    static constexpr int minKm = 0, maxKmField = 999;

    struct Choice
    {
        int layers = 1;
        int overlap = 0; // minutes
        int scale = 100; // per cent
        TimeRange timeRange = TimeRange::All;
        int fromMinute = 0; // minutes of the day
        int toMinute = 23 * 60 + 59;
        KmRange kmRange = KmRange::All;
        int fromStation = -1; // 0-based positions in the station list; -1 none
        int toStation = -1;
        int32_t fromMetres = 0; // "Od kilometru:" ... "do kilometru:"
        int32_t toMetres = maxKmField * 1000;
        bool legend = true; // "Přidat legendu stanic"
    };

    explicit PrintPlan(const Document &doc);

    // The largest station position in metres; 0 without stations.
    int32_t maxMetres() const { return m_maxMetres; }

    // The sheet of a choice: its scale as a zoom level, the station range as
    // positions in metres, the train labels as the document shows them.
    SheetLayout::Request request(const Choice &c) const;

    // The width of one layer: the pixels of its share of the time range and
    // the 40-pixel station column.
    int64_t widthPixels(const Choice &c) const;
    // The height of all layers one under another, with the legend.
    int64_t heightPixels(const Choice &c) const;

    // The choice in a few words, as the export dialog names the sheet:
    // "2 vrstvy, překryv 30 min, měřítko 100 %, 688 × 640 mm".
    QString summary(const Choice &c) const;

    // Pixels at the diagram's 13 pixels per 3 mm, rounded.
    static int64_t millimetres(int64_t pixels);

    // Whether the "Od stanice:" station lies at or below the "do stanice:"
    // one; a choice that would break this is taken back.
    bool stationsInOrder(int fromStation, int toStation) const;

    // "75 X 75", "300 X 300": the number before the first blank.
    static int resolutionOf(const QString &item);
    // A page of the given device pixels at a resolution, in millimetres as
    // the dialog shows them: R / 25.6 pixels a millimetre (25.6, not 25.4,
    // as the dialog has always reckoned); width and height, rounded.
    static QSize paperMillimetres(QSize pagePixels, int resolution);

    // The scale field on leaving it: held to its range and rounded down to a
    // multiple of 25.
    static int scaleOnLeaving(int value);

    // A time field's text ("hh:mm", blanks for missing leading digits) as
    // minutes of the day; nullopt when it is no time of day.
    static std::optional<int> minuteOfText(const QString &text);
    // Why the time fields "Od:" and "do:" name no range of the day (a field
    // that is no time, an end before the start); empty when they do.
    static QString timeRangeProblem(const QString &fromText, const QString &toText);

private:
    int32_t metresOfStation(int index) const;

    const Document &m_doc;
    int32_t m_maxMetres = 0;
};
