#include "CompareOverlay.h"

#include "model/Document.h"

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

bool record(const Document &compared, const std::vector<int32_t> &match, const TrainLines::Frame &frame,
            int32_t emphasised, DisplayList &list)
{
    const TrainLines::Pen plain{colour, width, style};
    const TrainLines::Pen strong{emphasisColour, emphasisWidth, style};
    bool drewEmphasised = false;
    Train placed; // one train's room, used again for each
    for (size_t i = 0; i < compared.trains.size(); ++i) {
        if (!place(compared.trains[i], match, placed))
            continue;
        const bool emphasis = static_cast<int32_t>(i) == emphasised;
        TrainLines::RecordTrain(placed, frame, emphasis ? strong : plain, list);
        drewEmphasised = drewEmphasised || emphasis;
    }
    return drewEmphasised;
}

} // namespace CompareOverlay
