#include "StationListEditor.h"

#include "model/Cp1250.h"
#include "model/Kilometres.h"
#include "model/Tracks.h"

#include <algorithm>
#include <utility>

namespace {

// Positions taken back from the grid: anything a station can hold.
constexpr int32_t maxStoredKm = Kilometres::maxWholeKm + 1;

// A track cell's number; -1 when it is empty, -2 when it is no number.
int trackNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return -1;
    bool ok = false;
    const int v = t.toInt(&ok);
    return ok && v >= 0 && std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); }) ? v : -2;
}

bool isSectionTracks(int v)
{
    return v == -1 || v == Tracks::singleTrack || v == Tracks::doubleTrack || v == Tracks::manyTracks;
}

bool isHeadway(int v)
{
    return v == -1 || (v >= 0 && v <= Tracks::maxHeadway);
}

QString headwayText(const Station &s)
{
    return s.sectionHeadway == Tracks::lineHeadway ? QString() : QString::number(s.sectionHeadway);
}

bool isStationTracks(int v)
{
    return v == -1 || (v >= 0 && v <= Tracks::maxStationTracks);
}

QString sectionTracksText(const Station &s)
{
    return s.sectionTracks == Tracks::lineDefault ? QString() : QString::number(s.sectionTracks);
}

QString stationTracksText(const Station &s)
{
    return s.stationTracks == Tracks::byKind ? QString() : QString::number(s.stationTracks);
}

} // namespace

StationListEditor::StationListEditor(Document &doc) : m_doc(doc)
{
    m_cells.push_back({QString(), QStringLiteral("Název stanice"), QStringLiteral("Kilometr"),
                       QStringLiteral("Kolejí v úseku"), QStringLiteral("Dopravních kolejí"),
                       QStringLiteral("Interval v úseku")});
    m_cells.push_back({QStringLiteral("1"), QString(), QString(), QString(), QString(), QString()});
}

QString StationListEditor::cell(int column, int row) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount)
        return {};
    return m_cells[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

QString StationListEditor::editMask(int, int) const
{
    return {};
}

QString StationListEditor::editPattern(int column, int row) const
{
    if (row <= 0)
        return {};
    switch (column) {
    case KmColumn:
        return kmPattern;
    case SectionTracksColumn:
        return sectionTracksPattern;
    case StationTracksColumn:
        return stationTracksPattern;
    case HeadwayColumn:
        return headwayPattern;
    default:
        return {};
    }
}

QString StationListEditor::takeRefusal()
{
    return std::exchange(m_refusal, QString());
}

bool StationListEditor::isIncomplete(int row) const
{
    if (row <= 0)
        return false; // the header row stops every walk up the grid
    return cell(NameColumn, row).trimmed().isEmpty() || cell(KmColumn, row).trimmed().isEmpty();
}

void StationListEditor::setRowCount(int rows)
{
    rows = std::max(rows, 2);
    const int old = rowCount();
    m_cells.resize(static_cast<size_t>(rows));
    for (int r = old; r < rows; ++r)
        m_cells[static_cast<size_t>(r)][NumberColumn] = QString::number(r);
}

void StationListEditor::setCurrentCell(int column, int row)
{
    m_column = std::clamp(column, static_cast<int>(NameColumn), static_cast<int>(HeadwayColumn));
    m_row = std::clamp(row, 1, rowCount() - 1);
    rowChanged();
}

void StationListEditor::moveCursor(int column, int row)
{
    if (column == m_column && row == m_row)
        return;
    setCurrentCell(column, row);
}

// Every row the cursor visits owns a kind record; a row never seen before is
// a traffic point until the user says otherwise.
void StationListEditor::rowChanged()
{
    m_inKindUpdate = true;
    m_boxes[Dopravna] = false;
    if (const StationKind *k = m_doc.findKind(m_row)) {
        m_boxes = boxesOf(*k);
    } else {
        StationKind fresh;
        fresh.stationIndex = m_row;
        fresh.dopravna = 1;
        m_doc.prependKind(fresh);
        m_boxes = boxesOf(fresh);
    }
    m_inKindUpdate = false;
}

void StationListEditor::commitCell(int column, int row, const QString &text, int cursorColumn, int cursorRow, bool step)
{
    if (m_inMaintenance)
        return;
    if (row < 1 || row >= rowCount() || column < NameColumn || column > HeadwayColumn)
        return;
    QString stored = text;
    if (column >= SectionTracksColumn) {
        const int v = trackNumber(text);
        const bool valid = column == SectionTracksColumn ? isSectionTracks(v)
                           : column == StationTracksColumn ? isStationTracks(v)
                                                           : isHeadway(v);
        if (!valid) {
            m_refusal = column == SectionTracksColumn   ? sectionTracksMessage
                        : column == StationTracksColumn ? stationTracksMessage
                                                        : headwayMessage;
            setCurrentCell(column, row);
            return;
        }
        stored = v < 0 ? QString() : QString::number(v);
    }
    if (column == KmColumn && !text.trimmed().isEmpty()) {
        const Kilometres::Parsed km = Kilometres::parse(text, kmLimit);
        if (!km.ok()) {
            m_refusal = km.error == Kilometres::ParseError::TooManyDecimals ? kmDecimalsMessage
                        : km.error == Kilometres::ParseError::OutOfRange    ? kmRangeMessage
                                                                            : kmNotANumberMessage;
            setCurrentCell(KmColumn, row);
            return;
        }
        stored = Kilometres::text(km.metres);
    }
    // The cursor's new place is taken as it is; its row change runs after
    // the commit, when the grid reports the move.
    if (cursorColumn >= NameColumn && cursorColumn <= HeadwayColumn && cursorRow >= 1 && cursorRow < rowCount()) {
        m_column = cursorColumn;
        m_row = cursorRow;
    }
    m_cells[static_cast<size_t>(row)][static_cast<size_t>(column)] = stored;
    runMaintenance(column, row, step);
}

void StationListEditor::appendRow()
{
    const int r = rowCount();
    m_cells.push_back({QString::number(r), QString(), blankKm, QString(), QString(), QString()});
}

// Keeps exactly one empty row behind the last complete one and walks the
// cursor name, kilometre, next name (and the track columns the same way).
void StationListEditor::runMaintenance(int editColumn, int editRow, bool step)
{
    m_inMaintenance = true;

    const int last = rowCount() - 1;
    if (!cell(NameColumn, last).isEmpty() && !cell(KmColumn, last).trimmed().isEmpty() && dataRowCount() < maxDataRows)
        appendRow();

    for (;;) {
        const int end = rowCount() - 1;
        if (end <= 1 || !cell(NameColumn, end).isEmpty() || !cell(KmColumn, end).trimmed().isEmpty()
            || !isIncomplete(end - 1))
            break;
        if (m_row == end)
            moveCursor(m_column, end - 1);
        m_cells.pop_back();
    }

    if (step && m_column == editColumn && m_row == editRow) {
        const int first = editColumn >= SectionTracksColumn ? SectionTracksColumn : NameColumn;
        if (editColumn == first)
            moveCursor(first + 1, m_row);
        else if (m_row + 1 < rowCount())
            moveCursor(first, m_row + 1);
        else
            moveCursor(first, m_row);
    }

    m_inMaintenance = false;
}

StationListEditor::KindBoxes StationListEditor::boxesOf(const StationKind &k)
{
    return {k.dopravna != 0, k.hradlo != 0,     k.hlaska != 0,  k.odbocka != 0,
            k.zastavka != 0, k.nakladiste != 0, k.kilometr != 0};
}

void StationListEditor::setFlags(StationKind &k, const KindBoxes &b)
{
    k.dopravna = b[Dopravna];
    k.hradlo = b[Hradlo];
    k.hlaska = b[Hlaska];
    k.odbocka = b[Odbocka];
    k.zastavka = b[Zastavka];
    k.nakladiste = b[Nakladiste];
    k.kilometr = b[Kilometr];
}

void StationListEditor::clickKind(Kind kind, bool checked)
{
    if (m_inKindUpdate || kind < 0 || kind >= KindCount)
        return;
    m_boxes[kind] = checked;
    m_inKindUpdate = true;
    applyKindRule(kind, checked);
    m_inKindUpdate = false;
    storeKinds();
}

// Dopravna excludes everything else; at most one of Hradlo, Hláska and
// Odbočka, freely combined with Zastávka and Nákladiště; Kilometr stands
// alone. A point left without any kind falls back to Dopravna.
void StationListEditor::applyKindRule(Kind kind, bool checked)
{
    KindBoxes &b = m_boxes;
    auto clear = [&b](std::initializer_list<Kind> kinds) {
        for (Kind k : kinds)
            b[k] = false;
    };
    switch (kind) {
    case Dopravna:
        if (checked)
            clear({Hradlo, Hlaska, Odbocka, Zastavka, Nakladiste, Kilometr});
        else
            b[Dopravna] = true;
        break;
    case Hradlo:
    case Hlaska:
    case Odbocka:
        if (checked) {
            clear({Dopravna, Hradlo, Hlaska, Odbocka, Kilometr});
            b[kind] = true;
        } else if (!b[Zastavka] && !b[Nakladiste]) {
            b[Dopravna] = true;
        }
        break;
    case Zastavka:
    case Nakladiste: {
        const Kind other = kind == Zastavka ? Nakladiste : Zastavka;
        if (checked)
            clear({Dopravna, Kilometr});
        else if (!b[other] && !b[Hradlo] && !b[Hlaska] && !b[Odbocka])
            b[Dopravna] = true;
        break;
    }
    case Kilometr:
        if (checked)
            clear({Dopravna, Hradlo, Hlaska, Odbocka, Zastavka, Nakladiste});
        else
            b[Dopravna] = true;
        break;
    case KindCount:
        break;
    }
}

void StationListEditor::storeKinds()
{
    StationKind *k = m_doc.findKind(m_row);
    if (!k) {
        StationKind fresh;
        fresh.stationIndex = m_row;
        k = &m_doc.appendKind(fresh);
    }
    setFlags(*k, m_boxes);
}

void StationListEditor::fill()
{
    if (m_doc.noDocument) {
        setRowCount(2);
        m_cells[1][NumberColumn] = QStringLiteral("1");
        setCurrentCell(NameColumn, 1);
    }

    m_savedKinds = m_doc.stationKinds;

    if (!m_doc.noDocument) {
        m_cells.resize(1);
        for (const Station &s : m_doc.stations) {
            if (dataRowCount() >= maxDataRows)
                break;
            m_cells.push_back({QString::number(rowCount()), cp1250::toUnicode(s.name.view()),
                               Kilometres::text(s.metres), sectionTracksText(s), stationTracksText(s),
                               headwayText(s)});
        }
        if (dataRowCount() < maxDataRows)
            m_cells.push_back({QString::number(rowCount()), QString(), QString(), QString(), QString(), QString()});
        setCurrentCell(NameColumn, 2);
        setCurrentCell(NameColumn, 1);
    }
}

void StationListEditor::restoreKinds()
{
    m_doc.clearStationKinds();
    m_doc.stationKinds = m_savedKinds;
    m_doc.linkStationKinds();
    m_savedKinds.clear();
}

// A lone row counts as nothing typed when its name or kilometre is missing;
// a name of blanks alone is missing too, or the document would be marked as
// having stations while holding none.
bool StationListEditor::isEmptyInput() const
{
    return dataRowCount() <= 1 && isIncomplete(1);
}

int StationListEditor::rowsToStore() const
{
    int n = dataRowCount();
    if (n > 0 && isIncomplete(n))
        --n;
    return std::min(n, static_cast<int>(Document::maxStations));
}

void StationListEditor::storeEmpty()
{
    m_doc.noDocument = true;
    m_doc.clearStations();
    m_savedKinds.clear();
    m_doc.rebuildStationTable();
}

void StationListEditor::store(bool deleteTrains)
{
    if (deleteTrains) {
        m_doc.clearTrains();
        m_doc.clearTrainLabels();
        m_doc.clearProfiles();
        m_doc.trainCount = 0;
    }
    m_doc.clearStations();

    const int n = rowsToStore();
    m_doc.stations.reserve(static_cast<size_t>(n));
    for (int r = 1; r <= n; ++r) {
        Station s;
        s.name = cp1250::fromUnicode(cell(NameColumn, r).trimmed());
        // Every position a station can hold is taken back as it was shown;
        // the editor's own limit applies to what is typed.
        const Kilometres::Parsed km = Kilometres::parse(cell(KmColumn, r), maxStoredKm);
        s.metres = km.ok() ? km.metres : 0;
        const int section = trackNumber(cell(SectionTracksColumn, r));
        const int own = trackNumber(cell(StationTracksColumn, r));
        s.sectionTracks = section > 0 && isSectionTracks(section) ? static_cast<uint8_t>(section) : Tracks::lineDefault;
        s.stationTracks = own >= 0 && isStationTracks(own) ? static_cast<int8_t>(own) : Tracks::byKind;
        const int headway = trackNumber(cell(HeadwayColumn, r));
        s.sectionHeadway = headway >= 0 && isHeadway(headway) ? static_cast<int8_t>(headway) : Tracks::lineHeadway;
        StationKind *k = m_doc.findKind(r);
        if (!k) {
            // A row the cursor never visited: the kind the editor gives every
            // new row.
            StationKind fresh;
            fresh.stationIndex = r;
            fresh.dopravna = 1;
            k = &m_doc.prependKind(fresh);
        }
        s.kind = k;
        m_doc.stations.push_back(s);
    }

    m_savedKinds.clear();
    m_doc.rebuildStationTable();
    m_doc.noDocument = false;
}

void StationListEditor::clearFirstRow()
{
    if (rowCount() < 2)
        return;
    m_cells[1][NameColumn].clear();
    m_cells[1][KmColumn].clear();
    m_cells[1][SectionTracksColumn].clear();
    m_cells[1][StationTracksColumn].clear();
    m_cells[1][HeadwayColumn].clear();
}
