#include "CompareOverlay.h"

#include "model/Document.h"
#include "model/StationMatch.h"

#include <algorithm>

namespace CompareOverlay {

bool place(const Train &train, const std::vector<int32_t> &match, Train &placed)
{
    placed.stops.clear();
    placed.firstStation = 0;
    placed.name = train.name;
    for (int k = 0; k < train.rowCount(); ++k) {
        TrainRow row = train.row(k);
        if (row.station > 0)
            row.station = static_cast<size_t>(row.station) < match.size() ? match[static_cast<size_t>(row.station)] : 0;
        if (row.station == 0)
            continue;
        Document::addRow(placed, row.station, row.time, row.mark, row.halfMinute, row.shortDwell);
    }
    return placed.rowCount() >= 2;
}

Compared::Compared(std::unique_ptr<const Document> document) : m_document(std::move(document))
{
}

Compared::~Compared() = default;

bool Compared::record(const Document &current, const TrainLines::Frame &frame, int32_t emphasised, DisplayList &list)
{
    std::vector<int32_t> match = StationMatch::of(current, *m_document);
    if (!m_placedOnce || match != m_match) {
        m_match = std::move(match);
        m_placedOnce = true;
        m_recordedAt.reset();
        m_placed.clear();
        m_source.clear();
        Train placed;
        for (size_t i = 0; i < m_document->trains.size(); ++i) {
            if (!place(m_document->trains[i], m_match, placed))
                continue;
            m_placed.push_back(std::move(placed));
            m_source.push_back(static_cast<int32_t>(i));
            placed = Train();
        }
    }
    Recording at{
        frame.scale,      frame.zoom,
        frame.maxMetres,  std::vector<int32_t>(frame.stationMetres, frame.stationMetres + frame.stationCount + 1),
        list.cullWidth(), list.fullHeight()};
    if (m_recordedAt != at) {
        m_lines.startRebuild(at.cullWidth, at.fullHeight, true);
        const TrainLines::Pen plain{colour, width, style};
        for (Train &train : m_placed)
            TrainLines::RecordTrain(train, frame, plain, m_lines);
        m_recordedAt = std::move(at);
    }
    list.appendLines(m_lines);

    const auto chosen = std::find(m_source.begin(), m_source.end(), emphasised);
    if (emphasised < 0 || chosen == m_source.end())
        return false;
    TrainLines::RecordTrain(m_placed[static_cast<size_t>(chosen - m_source.begin())], frame,
                            {emphasisColour, emphasisWidth, style}, list);
    return true;
}

} // namespace CompareOverlay
