#include "TrainDrag.h"

#include "Diagram.h"
#include "EditHistory.h"
#include "TrainShift.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"

namespace {

QByteArray labelText(QByteArrayView name)
{
    return FixedString<15>(name).view().toByteArray();
}

} // namespace

QPoint TrainDrag::diagramPoint(QPoint viewPoint) const
{
    const DiagramView &view = m_diagram.view();
    return {viewPoint.x() - DiagramView::stationColumn + DiagramView::hUnit * view.hpos,
            viewPoint.y() + DiagramView::vUnit * view.vpos};
}

bool TrainDrag::picked()
{
    const Document &doc = m_diagram.document();
    if (m_pick.found()
        && (static_cast<size_t>(m_pick.train) >= doc.trains.size()
            || doc.trains[static_cast<size_t>(m_pick.train)].name.view() != m_name
            || m_pick.row >= doc.trains[static_cast<size_t>(m_pick.train)].rowCount()))
        forget();
    return m_pick.found();
}

bool TrainDrag::press(const MouseEvent &e)
{
    Document &doc = m_diagram.document();
    if (doc.noDocument)
        return false;
    TrainPick::Hit hit = TrainPick::at(doc, m_diagram.view().scale, diagramPoint(e.pos));
    if (!hit.found())
        return false;
    if (!e.modifiers.testFlag(Qt::ShiftModifier))
        hit.row = 0;
    m_pick = hit;
    const Train &train = doc.trains[static_cast<size_t>(hit.train)];
    m_name = train.name.view().toByteArray();
    m_original = train;
    m_labelTimes.clear();
    if (hit.row == 0) {
        const QByteArray text = labelText(m_name);
        for (size_t i = 0; i < doc.trainLabels.size(); ++i)
            if (doc.trainLabels[i].text.view() == text)
                m_labelTimes.emplace_back(i, doc.trainLabels[i].time);
    }
    m_dragging = true;
    m_pressX = e.pos.x();
    m_amount = 0;
    m_diagram.highlight(m_name);
    showStatus(e.pos);
    return true;
}

void TrainDrag::move(const MouseEvent &e)
{
    if (!m_dragging || !picked())
        return;
    const double halves = 2.0 * (e.pos.x() - m_pressX) / m_diagram.view().scale;
    const int wanted = Geometry::round(std::clamp(halves, -1e6, 1e6));
    const int amount = TrainShift::held(m_original, m_pick.row, wanted);
    if (amount != m_amount) {
        putBack();
        m_amount = TrainShift::shift(m_diagram.document(), m_pick.train, m_pick.row, amount);
        renderMoved();
    }
    showStatus(e.pos);
}

void TrainDrag::release()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (m_amount == 0 || !picked())
        return;
    const int amount = m_amount;
    putBack();
    {
        EditStep step(m_history, TrainShift::stepName(m_original, amount));
        TrainShift::shift(m_diagram.document(), m_pick.train, m_pick.row, amount);
    }
    followWait(m_original.rowCount());
    m_amount = 0;
    renderMoved();
}

bool TrainDrag::escape()
{
    if (!m_dragging) {
        forget();
        return false;
    }
    m_dragging = false;
    if (m_amount != 0 && picked()) {
        putBack();
        m_amount = 0;
        renderMoved();
    }
    return true;
}

bool TrainDrag::nudge(int amount, bool repeat)
{
    if (m_dragging || !picked())
        return false;
    Document &doc = m_diagram.document();
    const Train &train = doc.trains[static_cast<size_t>(m_pick.train)];
    amount = TrainShift::held(train, m_pick.row, amount);
    if (amount == 0)
        return true;
    if (!repeat) {
        ++m_mergeId;
        m_keyTotal = 0;
    }
    const int rows = train.rowCount();
    {
        EditStep step(m_history);
        step.setMergeId(m_mergeId);
        m_keyTotal += TrainShift::shift(doc, m_pick.train, m_pick.row, amount);
        step.setName(TrainShift::stepName(train, m_keyTotal));
    }
    followWait(rows);
    renderMoved();
    return true;
}

void TrainDrag::forget()
{
    const bool had = m_pick.found();
    m_pick = {};
    m_dragging = false;
    m_amount = 0;
    if (had && statusChanged) {
        m_status.clear();
        statusChanged(m_status);
    }
}

void TrainDrag::followWait(int rowsBefore)
{
    // The train now waits at the picked row: what moves on is its departure.
    if (m_diagram.document().trains[static_cast<size_t>(m_pick.train)].rowCount() > rowsBefore)
        ++m_pick.row;
}

void TrainDrag::putBack()
{
    Document &doc = m_diagram.document();
    doc.trains[static_cast<size_t>(m_pick.train)] = m_original;
    for (const auto &[index, time] : m_labelTimes)
        if (index < doc.trainLabels.size())
            doc.trainLabels[index].time = time;
}

void TrainDrag::renderMoved()
{
    // The moved train's labels are placed again with it: the one label of
    // the train alone, or all when it has several.
    RenderRequest::Labels labels = RenderRequest::Labels::none();
    if (m_pick.row == 0 && m_labelTimes.size() == 1)
        labels = RenderRequest::Labels::one(static_cast<int32_t>(m_labelTimes.front().first) + 1);
    else if (m_pick.row == 0 && m_labelTimes.size() > 1)
        labels = RenderRequest::Labels::all();
    m_diagram.trainsChanged(labels);
}

void TrainDrag::showStatus(QPoint viewPoint)
{
    const double minutes = diagramPoint(viewPoint).x() / m_diagram.view().scale;
    const int halves = std::clamp(Geometry::round(2.0 * minutes), 0, TrainShift::perDay - 1);
    m_status = cp1250::toUnicode(m_name) + QStringLiteral("  ")
               + formatClockTime(makeTime(0, halves / 2, halves % 2 * 30), true);
    if (m_amount != 0)
        m_status += QStringLiteral("  ") + TrainShift::amountText(m_amount);
    if (statusChanged)
        statusChanged(m_status);
}
