#include "GeneratedLines.h"

#include "model/ClockTime.h"
#include "model/Tracks.h"

#include "SampleLine.h"

#include <cmath>
#include <string>

namespace GeneratedLines {

namespace {

void addRow(Train &t, int station, double minute)
{
    minute = std::fmod(minute, 1440.0);
    const double whole = std::floor(minute);
    Document::addRow(t, station, makeTime(0, static_cast<int>(whole)), 0, minute > whole ? 1 : 0, 0);
}

Train &newTrain(Document &doc, int number)
{
    Train &t = doc.trains.emplace_back();
    t.name = ("Os " + std::to_string(number)).c_str();
    doc.trainCount = static_cast<int32_t>(doc.trains.size());
    return t;
}

void addStations(Document &doc, int count)
{
    for (int i = 1; i <= count; ++i)
        SampleLine::addStation(doc, ("S" + std::to_string(i)).c_str(), 4 * (i - 1)).stationTracks = 4;
}

} // namespace

void periodic(Document &doc, int trains)
{
    addStations(doc, 60);
    doc.lineTracks.mainTracks = Tracks::doubleTrack;
    doc.lineTracks.minHeadway = 2;
    doc.stations[19].sectionTracks = Tracks::singleTrack;
    doc.stations[39].sectionTracks = Tracks::singleTrack;

    // A route runs five stations of one stretch (stations 1–20, 21–40,
    // 41–60) up or down every `period` minutes: 3 minutes a section, a
    // minute at each station between. The four routes through a section
    // are a quarter period apart.
    constexpr int routes = 3 * 16 * 2;
    constexpr int shuttles = 2 * 24;
    constexpr int late = 12;
    const int runs = std::max(1, (trains - shuttles - late) / routes);
    const int extra = std::max(0, trains - shuttles - late - runs * routes);
    const int period = 2 * (1440 / (runs + 1) / 2);
    int number = 0;
    for (int r = 0; r < routes; ++r) {
        const int stretch = r / 32;
        const int offset = r % 16;
        const bool up = r % 32 < 16;
        const double phase = 4.0 * offset + (offset % 4) * period / 4.0;
        for (int k = 0; k < runs + (r < extra ? 1 : 0); ++k) {
            Train &t = newTrain(doc, ++number);
            double minute = phase + k * period;
            for (int s = 0; s < 5; ++s) {
                const int station = 20 * stretch + 1 + (up ? offset + s : 19 - offset - s);
                if (s > 0)
                    addRow(t, station, minute += 3.0);
                if (s > 0 && s < 4)
                    minute += 1.0;
                addRow(t, station, minute);
            }
        }
    }
    // A dozen trains a minute behind one each, spread over the routes.
    const int regular = number;
    for (int k = 0; k < late; ++k) {
        const Train &model = doc.trains[static_cast<size_t>(k * regular / late)];
        Train &t = newTrain(doc, ++number);
        for (int i = 0; i < model.rowCount(); ++i) {
            const TrainRow row = model.row(i);
            addRow(t, row.station, minuteOfDay(row.time) + (row.halfMinute ? 0.5 : 0.0) + 1.0);
        }
    }
    for (int h = 0; h < 24; ++h) {
        for (const int low : {20, 40}) {
            if (low == 40 && h % 2 == 0)
                continue;
            Train &upTrain = newTrain(doc, ++number);
            addRow(upTrain, low, 60.0 * h);
            addRow(upTrain, low + 1, 60.0 * h + 3.0);
            Train &downTrain = newTrain(doc, ++number);
            addRow(downTrain, low + 1, 60.0 * h + 30.0);
            addRow(downTrain, low, 60.0 * h + 33.0);
        }
    }
}

void identical(Document &doc, int trains)
{
    addStations(doc, 11);
    for (int i = 0; i < trains; ++i) {
        Train &t = newTrain(doc, i + 1);
        addRow(t, 1, 8 * 60);
        addRow(t, 11, 9 * 60);
    }
}

} // namespace GeneratedLines
