#include "Sr70Codebook.h"

#include "model/Cp1250.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace {

// One record of the CSV text: fields as bytes, quotes taken off. ok is
// false for a record whose quote never closes, or one longer than the
// limit (reading goes on with the line after the one it began on).
struct Record
{
    std::vector<QByteArray> fields;
    bool ok = true;
};

class CsvReader
{
public:
    CsvReader(QByteArrayView bytes, qsizetype limit) : m_bytes(bytes), m_limit(limit) {}

    bool atEnd() const { return m_pos >= m_bytes.size(); }

    Record next()
    {
        Record r;
        QByteArray field;
        bool quoted = false;
        const qsizetype start = m_pos;
        while (m_pos < m_bytes.size()) {
            if (m_pos - start > m_limit) {
                const qsizetype lineEnd = m_bytes.indexOf('\n', start);
                m_pos = lineEnd < 0 ? m_bytes.size() : lineEnd + 1;
                return {{}, false};
            }
            const char c = m_bytes[m_pos++];
            if (quoted) {
                if (c != '"') {
                    field.append(c);
                } else if (m_pos < m_bytes.size() && m_bytes[m_pos] == '"') {
                    field.append('"');
                    ++m_pos;
                } else {
                    quoted = false;
                }
            } else if (c == '"') {
                quoted = true;
            } else if (c == ';') {
                r.fields.push_back(std::move(field));
                field = {};
            } else if (c == '\n') {
                break;
            } else if (c != '\r') {
                field.append(c);
            }
        }
        r.ok = !quoted;
        r.fields.push_back(std::move(field));
        return r;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_limit;
    qsizetype m_pos = 0;
};

// The text is UTF-8 when it says so with a byte-order mark, or when it has
// letters beyond ASCII and all of it is valid UTF-8 (text in code page 1250
// with Czech letters never is).
bool isUtf8(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return true;
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    return !ascii && bytes.isValidUtf8();
}

class Fields
{
public:
    explicit Fields(bool utf8) : m_utf8(utf8) {}
    QString operator()(const Record &r, int column) const
    {
        if (column < 0 || static_cast<size_t>(column) >= r.fields.size())
            return {};
        const QByteArray &f = r.fields[static_cast<size_t>(column)];
        return (m_utf8 ? QString::fromUtf8(f) : cp1250::toUnicode(f)).trimmed();
    }

private:
    bool m_utf8;
};

bool isDash(const QString &s)
{
    return s.isEmpty() || s == u"-";
}

// "37,877" (kilometres, decimal comma) in metres.
std::optional<int32_t> metresOf(QString km)
{
    km = km.trimmed();
    if (isDash(km))
        return std::nullopt;
    km.replace(u',', u'.');
    bool ok = false;
    const double v = km.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1.0e5)
        return std::nullopt;
    return static_cast<int32_t>(std::nearbyint(v * 1000.0));
}

// "N49,334866°" / "E17,994348°" in signed degrees.
std::optional<double> degreesOf(QString text, double limit)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    double sign = 1.0;
    const QChar hemisphere = text.front().toUpper();
    if (hemisphere == u'N' || hemisphere == u'E' || hemisphere == u'S' || hemisphere == u'W') {
        if (hemisphere == u'S' || hemisphere == u'W')
            sign = -1.0;
        text.remove(0, 1);
    }
    if (text.endsWith(u'°'))
        text.chop(1);
    text.replace(u',', u'.');
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > limit)
        return std::nullopt;
    return sign * v;
}

// "25,057; 25,057" against "2361G1; 2361G1": the further positions.
void addFurtherPositions(Sr70Codebook::Entry &e, const QString &kms, const QString &sections)
{
    const QStringList k = kms.split(u';');
    const QStringList s = sections.split(u';');
    for (qsizetype i = 0; i < k.size() && i < s.size(); ++i) {
        const std::optional<int32_t> m = metresOf(k[i]);
        const QString section = s[i].trimmed();
        if (m && !isDash(section))
            e.positions.push_back({*m, section});
    }
}

struct KindName
{
    const char16_t *description;
    DayPointKind kind;
};

// The descriptions of the codebook, each with what it is on a line.
constexpr KindName kindNames[] = {
    {u"Železniční stanice", DayPointKind::Station},
    {u"Dopravna D3", DayPointKind::Station},
    {u"Dopravna radiobloku", DayPointKind::Station},
    {u"Výhybna", DayPointKind::Station},
    {u"Dopravní uzel – železniční stanice", DayPointKind::Station},
    {u"Dopravní uzel – výhybna", DayPointKind::Station},
    {u"Dopravní uzel – dopravna D3", DayPointKind::Station},
    {u"Dopravní uzel – odbočka", DayPointKind::Junction},
    {u"Odbočka (dopravna)", DayPointKind::Junction},
    {u"Odbočka (dopravna) a zastávka", DayPointKind::Junction},
    {u"Odbočka (dopravna), nákladiště a zastávka", DayPointKind::Junction},
    {u"Hradlo", DayPointKind::BlockPost},
    {u"Automatické hradlo", DayPointKind::BlockPost},
    {u"Automatické hradlo a nákladiště", DayPointKind::BlockPost},
    {u"Automatické hradlo a zastávka", DayPointKind::BlockPost},
    {u"Automatické hradlo, nákladiště a zastávka", DayPointKind::BlockPost},
    {u"Hláska", DayPointKind::SignalPost},
    {u"Hláska a zastávka", DayPointKind::SignalPost},
    {u"Nákladiště", DayPointKind::FreightPoint},
    {u"Nákladiště a zastávka", DayPointKind::FreightPoint},
    {u"Dopravní uzel – nákladiště zastávka", DayPointKind::FreightPoint},
    {u"Zastávka", DayPointKind::Halt},
    {u"Zastávka v obvodu stanice, výhybny, dopravny D3, dopravny RB", DayPointKind::Halt},
    {u"Kolejová skupina DVM se zastávkou", DayPointKind::Halt},
    {u"Zastávka lanové dráhy", DayPointKind::Halt},
    {u"Zastávka náhradní dopravy", DayPointKind::Halt},
    {u"Kolejová skupina DVM", DayPointKind::TimingPoint},
    {u"Odbočení v DVM", DayPointKind::TimingPoint},
    {u"Odbočení vlečky na širé trati", DayPointKind::TimingPoint},
    {u"Skok ve staničení", DayPointKind::TimingPoint},
    {u"Kolejová křižovatka", DayPointKind::TimingPoint},
    {u"Hranice pro návrat vozidel ze širé trati", DayPointKind::TimingPoint},
    {u"Hranice třídy sklonu", DayPointKind::TimingPoint},
    {u"Závorářské stanoviště", DayPointKind::TimingPoint},
    {u"Jiné DVM", DayPointKind::TimingPoint},
    {u"Samostatné kolejiště vlečky", DayPointKind::TimingPoint},
    {u"Hranice infrastruktur", DayPointKind::TimingPoint},
    {u"Státní hranice", DayPointKind::TimingPoint},
    {u"Hranice VÚSC", DayPointKind::TimingPoint},
    {u"Hranice TUDU", DayPointKind::TimingPoint},
    {u"Trasovací DVM", DayPointKind::TimingPoint},
    {u"Hranice OŘ totožná s hranicí VÚSC", DayPointKind::TimingPoint},
};

} // namespace

DayPointKind Sr70Codebook::kindOf(const QString &description)
{
    const QString d = description.simplified();
    for (const KindName &k : kindNames) {
        if (d.compare(QStringView(k.description), Qt::CaseInsensitive) == 0)
            return k.kind;
    }
    return DayPointKind::Unknown;
}

Sr70Codebook::ReadResult Sr70Codebook::read(const QByteArray &bytes)
{
    ReadResult result;
    m_entries.clear();
    m_byCode.clear();

    QByteArrayView body(bytes);
    const Fields text(isUtf8(body));
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    CsvReader csv(body, recordLimit);
    const Record header = csv.next();
    QHash<QString, int> columns;
    for (size_t i = 0; i < header.fields.size(); ++i)
        columns.insert(text(header, static_cast<int>(i)), static_cast<int>(i));
    const auto column = [&](const char16_t *name) { return columns.value(QString::fromUtf16(name), -1); };
    const int code = column(u"Evidenční číslo");
    const int name = column(u"Název");
    const int kind = column(u"Kvalifikátor - popis");
    if (code < 0 || name < 0 || kind < 0) {
        result.error = QStringLiteral("Soubor není číselník SR70: chybí sloupce „Evidenční číslo“, „Název“ "
                                      "a „Kvalifikátor - popis“.");
        return result;
    }
    const int state = column(u"Stav - popis");
    const int km = column(u"Km poloha");
    const int section = column(u"TUDU");
    const int moreKm = column(u"Km polohy další");
    const int moreSections = column(u"TUDU další");
    const int north = column(u"GPS N (DEG)");
    const int east = column(u"GPS E (DEG)");
    const int needed = std::max({code, name, kind});

    while (!csv.atEnd()) {
        const Record r = csv.next();
        if (r.fields.size() == 1 && r.fields[0].trimmed().isEmpty())
            continue; // an empty line
        const QString number = text(r, code);
        bool digitsOnly = number.size() >= 5 && number.size() <= 6;
        for (QChar c : number)
            digitsOnly = digitsOnly && c.isDigit();
        if (!r.ok || static_cast<int>(r.fields.size()) <= needed || !digitsOnly || text(r, name).isEmpty()) {
            ++result.skippedRows;
            continue;
        }
        Entry e;
        e.code = number.left(5);
        e.name = text(r, name);
        e.kindText = text(r, kind);
        e.kind = kindOf(e.kindText);
        e.active = state < 0 || text(r, state) == u"Aktivní";
        const std::optional<int32_t> m = metresOf(text(r, km));
        const QString s = text(r, section);
        if (m && !isDash(s))
            e.positions.push_back({*m, s});
        addFurtherPositions(e, text(r, moreKm), text(r, moreSections));
        e.latitude = degreesOf(text(r, north), 90.0);
        e.longitude = degreesOf(text(r, east), 180.0);
        if (!e.latitude || !e.longitude || (*e.latitude == 0.0 && *e.longitude == 0.0)) {
            e.latitude.reset();
            e.longitude.reset();
        }

        const auto existing = m_byCode.constFind(e.code);
        if (existing != m_byCode.constEnd()) {
            Entry &old = m_entries[static_cast<size_t>(existing.value())];
            if (!old.active && e.active)
                old = std::move(e);
            continue;
        }
        m_byCode.insert(e.code, static_cast<int>(m_entries.size()));
        m_entries.push_back(std::move(e));
    }
    result.ok = true;
    result.entries = size();
    return result;
}

Sr70Codebook::ReadResult Sr70Codebook::readFile(const QString &path)
{
    QFile file(path);
    // The real codebook is under 2 MiB; a file a hundred times that is not one.
    constexpr qint64 maxBytes = qint64{256} * 1024 * 1024;
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult r;
        r.error = QStringLiteral("Číselník SR70 nelze otevřít: %1").arg(file.errorString());
        return r;
    }
    if (file.size() > maxBytes) {
        ReadResult r;
        r.error = QStringLiteral("Soubor je na číselník SR70 příliš velký.");
        return r;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ReadResult r;
        r.error = QStringLiteral("Číselník SR70 nelze přečíst: %1").arg(file.errorString());
        return r;
    }
    return read(bytes);
}

const Sr70Codebook::Entry *Sr70Codebook::find(const QString &code) const
{
    const auto it = m_byCode.constFind(code);
    return it == m_byCode.constEnd() ? nullptr : &m_entries[static_cast<size_t>(it.value())];
}

void Sr70Codebook::describe(DayTimetable &day) const
{
    for (DayPoint &p : day.points) {
        const Entry *e = find(p.key);
        if (!e)
            continue;
        p.kind = e->kind;
        if (e->latitude && e->longitude) {
            p.latitude = e->latitude;
            p.longitude = e->longitude;
        }
    }
}
