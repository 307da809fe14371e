#include "DocumentJson.h"

#include "io/DocumentFormat.h"
#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/Kilometres.h"
#include "model/Tracks.h"

#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

using Json = DocumentJson::Json;

// ---------------------------------------------------------------- to JSON

QString toUtf(QByteArrayView cp1250Text)
{
    return cp1250::toUnicode(cp1250Text);
}

std::string utf8(QByteArrayView cp1250Text)
{
    return toUtf(cp1250Text).toStdString();
}

std::string base64(const std::vector<uint8_t> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()))
        .toBase64()
        .toStdString();
}

Json rowJson(const TrainRow &r)
{
    Json j;
    j["station"] = r.station;
    j["time"] = r.time;
    j["mark"] = r.mark;
    j["halfMinute"] = r.halfMinute;
    j["shortDwell"] = r.shortDwell;
    return j;
}

Json profilesJson(const ProfileTable &table, int direction)
{
    Json list = Json::array();
    for (int n = 1; n <= std::min<int>(table.countOf(direction), ProfileTable::perDirection); ++n) {
        const TravelTimeProfile &p = table.at(direction, n);
        Json j;
        j["name"] = utf8(p.name.view());
        j["runTime"] = p.runTime;
        j["dwell"] = p.dwell;
        list.push_back(std::move(j));
    }
    return list;
}

// ---------------------------------------------------------------- printing

void appendNumber(std::string &out, double v)
{
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    std::string text(buffer, result.ptr);
    // "-0" would read back as the integer 0 and lose its sign.
    if (text == "-0")
        text = "-0.0";
    out += text;
}

void appendScalar(std::string &out, const Json &j)
{
    if (j.is_number_float())
        appendNumber(out, j.get<double>());
    else
        out += j.dump(-1, ' ', false);
}

bool isFlat(const Json &j)
{
    if (!j.is_structured())
        return true;
    for (const auto &item : j)
        if (item.is_structured())
            return false;
    return true;
}

void appendFlat(std::string &out, const Json &j)
{
    if (j.is_object()) {
        out += '{';
        bool first = true;
        for (const auto &[key, value] : j.items()) {
            out += first ? "" : ", ";
            first = false;
            out += Json(key).dump();
            out += ": ";
            appendScalar(out, value);
        }
        out += '}';
    } else if (j.is_array()) {
        out += '[';
        bool first = true;
        for (const auto &value : j) {
            out += first ? "" : ", ";
            first = false;
            appendScalar(out, value);
        }
        out += ']';
    } else {
        appendScalar(out, j);
    }
}

void appendValue(std::string &out, const Json &j, int indent)
{
    if (isFlat(j) || j.empty()) {
        appendFlat(out, j);
        return;
    }
    const std::string inner(static_cast<size_t>(indent + 2), ' ');
    out += j.is_object() ? "{\n" : "[\n";
    bool first = true;
    if (j.is_object()) {
        for (const auto &[key, value] : j.items()) {
            out += first ? "" : ",\n";
            first = false;
            out += inner + Json(key).dump() + ": ";
            appendValue(out, value, indent + 2);
        }
    } else {
        for (const auto &value : j) {
            out += first ? "" : ",\n";
            first = false;
            out += inner;
            appendValue(out, value, indent + 2);
        }
    }
    out += '\n' + std::string(static_cast<size_t>(indent), ' ') + (j.is_object() ? '}' : ']');
}

// ---------------------------------------------------------------- from JSON

// A refusal: the path of the field and what is wrong with it.
struct Refusal : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

class Reader
{
public:
    [[noreturn]] static void refuse(const std::string &path, const std::string &what)
    {
        throw Refusal(path + ": " + what);
    }

    static void expectObject(const Json &j, const std::string &path, std::initializer_list<const char *> keys)
    {
        if (!j.is_object())
            refuse(path.empty() ? "dokument" : path, "očekává se objekt");
        for (const auto &[key, value] : j.items()) {
            bool known = false;
            for (const char *k : keys)
                known = known || key == k;
            if (!known)
                refuse(path.empty() ? key : path + "." + key, "neznámý klíč");
        }
    }

    static const Json *find(const Json &obj, const char *key)
    {
        const auto it = obj.find(key);
        return it == obj.end() ? nullptr : &*it;
    }

    static const Json &array(const Json &j, const std::string &path, size_t maxSize)
    {
        if (!j.is_array())
            refuse(path, "očekává se seznam");
        if (j.size() > maxSize)
            refuse(path, "více než " + std::to_string(maxSize) + " položek");
        return j;
    }

    static int64_t integer(const Json &j, const std::string &path, int64_t min, int64_t max)
    {
        int64_t v = 0;
        if (j.is_number_unsigned()) {
            const uint64_t u = j.get<uint64_t>();
            v = u > uint64_t(std::numeric_limits<int64_t>::max()) ? std::numeric_limits<int64_t>::max()
                                                                  : static_cast<int64_t>(u);
        } else if (j.is_number_integer()) {
            v = j.get<int64_t>();
        } else {
            refuse(path, "očekává se celé číslo");
        }
        if (v < min || v > max)
            refuse(path, "musí být od " + std::to_string(min) + " do " + std::to_string(max));
        return v;
    }

    static int32_t int32(const Json &j, const std::string &path)
    {
        return static_cast<int32_t>(
            integer(j, path, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    }

    // A position in kilometres to the metre: a whole number, or a number
    // with at most three decimals, within what metres in 32 bits hold.
    static int32_t kilometres(const Json &j, const std::string &path)
    {
        constexpr int64_t most = Kilometres::maxWholeKm;
        if (!j.is_number())
            refuse(path, "očekává se číslo");
        if (!j.is_number_float())
            return static_cast<int32_t>(integer(j, path, -most, most) * Kilometres::metresPerKm);
        const double km = j.get<double>();
        const double metres = std::nearbyint(km * Kilometres::metresPerKm);
        if (!(std::fabs(metres) <= double(most) * Kilometres::metresPerKm))
            refuse(path, "musí být od " + std::to_string(-most) + " do " + std::to_string(most));
        if (Kilometres::toKm(static_cast<int64_t>(metres)) != km)
            refuse(path, "více než tři desetinná místa (metry)");
        return static_cast<int32_t>(metres);
    }

    static uint8_t byte(const Json &j, const std::string &path, int min = 0, int max = 255)
    {
        return static_cast<uint8_t>(integer(j, path, min, max));
    }

    static uint8_t flag(const Json &j, const std::string &path)
    {
        if (j.is_boolean())
            return j.get<bool>() ? 1 : 0;
        if (!j.is_number_integer() || (j.get<int64_t>() != 0 && j.get<int64_t>() != 1))
            refuse(path, "příznak musí být 0 nebo 1");
        return static_cast<uint8_t>(j.get<int64_t>());
    }

    static double number(const Json &j, const std::string &path)
    {
        if (!j.is_number())
            refuse(path, "očekává se číslo");
        return j.get<double>();
    }

    // A day fraction, or a clock time "H:MM" or "H:MM:SS".
    static double time(const Json &j, const std::string &path)
    {
        if (!j.is_string())
            return number(j, path);
        const QString text = QString::fromStdString(j.get<std::string>());
        const QStringList parts = text.split(u':');
        bool ok = parts.size() == 2 || parts.size() == 3;
        int values[3] = {0, 0, 0};
        for (qsizetype i = 0; ok && i < parts.size(); ++i) {
            const QString &p = parts[i];
            ok = !p.isEmpty() && p.size() <= 2 && (i == 0 || p.size() == 2)
                 && std::all_of(p.begin(), p.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
            values[i] = ok ? p.toInt() : 0;
        }
        if (!ok || values[1] > 59 || values[2] > 59)
            refuse(path, "očekává se část dne nebo čas \"H:MM\" či \"H:MM:SS\"");
        return (values[0] * 3600.0 + values[1] * 60.0 + values[2]) / 86400.0;
    }

    // UTF-8 text into code page 1250 bytes of at most `capacity` characters.
    static QByteArray text(const Json &j, const std::string &path, int capacity)
    {
        if (!j.is_string())
            refuse(path, "očekává se text");
        const std::string &s = j.get_ref<const std::string &>();
        const QByteArray bytes = QByteArray::fromStdString(s);
        if (!bytes.isValidUtf8())
            refuse(path, "není platné UTF-8");
        bool ok = true;
        const QByteArray encoded = cp1250::fromUnicode(QString::fromUtf8(bytes), &ok);
        if (!ok)
            refuse(path, "obsahuje znak, který kódová stránka 1250 nemá");
        if (encoded.size() > capacity)
            refuse(path, "delší než " + std::to_string(capacity) + " znaků");
        return encoded;
    }

    static std::vector<uint8_t> base64(const Json &j, const std::string &path)
    {
        if (!j.is_string())
            refuse(path, "očekává se text v base64");
        const auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(j.get<std::string>()),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            refuse(path, "není platné base64");
        return std::vector<uint8_t>(decoded.decoded.begin(), decoded.decoded.end());
    }

    // ------------------------------------------------------------ sections

    static void stations(const Json &j, Document &doc)
    {
        const std::string path = "stations";
        size_t i = 0;
        for (const Json &item : array(j, path, Document::maxStations)) {
            const std::string at = path + "[" + std::to_string(i++) + "]";
            expectObject(item, at, {"name", "km", "sectionTracks", "stationTracks", "sectionHeadway"});
            Station s;
            if (const Json *v = find(item, "name"))
                s.name = text(*v, at + ".name", DocumentFormat::stationNameCapacity);
            if (const Json *v = find(item, "km"))
                s.metres = kilometres(*v, at + ".km");
            if (const Json *v = find(item, "sectionTracks"))
                s.sectionTracks = byte(*v, at + ".sectionTracks", Tracks::singleTrack, Tracks::manyTracks);
            if (const Json *v = find(item, "stationTracks"))
                s.stationTracks = static_cast<int8_t>(byte(*v, at + ".stationTracks", 0, Tracks::maxStationTracks));
            if (const Json *v = find(item, "sectionHeadway"))
                s.sectionHeadway = static_cast<int8_t>(byte(*v, at + ".sectionHeadway", 0, Tracks::maxHeadway));
            doc.stations.push_back(s);
        }
    }

    static void kinds(const Json &j, Document &doc)
    {
        const std::string path = "stationKinds";
        size_t i = 0;
        for (const Json &item : array(j, path, std::numeric_limits<int32_t>::max())) {
            const std::string at = path + "[" + std::to_string(i++) + "]";
            expectObject(
                item, at,
                {"stationIndex", "dopravna", "hradlo", "hlaska", "odbocka", "nakladiste", "zastavka", "kilometr"});
            StationKind k;
            const auto f = [&](const char *key, uint8_t &field) {
                if (const Json *v = find(item, key))
                    field = flag(*v, at + "." + key);
            };
            if (const Json *v = find(item, "stationIndex"))
                k.stationIndex = int32(*v, at + ".stationIndex");
            f("dopravna", k.dopravna);
            f("hradlo", k.hradlo);
            f("hlaska", k.hlaska);
            f("odbocka", k.odbocka);
            f("nakladiste", k.nakladiste);
            f("zastavka", k.zastavka);
            f("kilometr", k.kilometr);
            doc.appendKind(k);
        }
    }

    static TrainRow row(const Json &item, const std::string &at)
    {
        expectObject(item, at, {"station", "time", "mark", "halfMinute", "shortDwell"});
        TrainRow r;
        if (const Json *v = find(item, "station"))
            r.station = int32(*v, at + ".station");
        if (const Json *v = find(item, "time"))
            r.time = time(*v, at + ".time");
        if (const Json *v = find(item, "mark"))
            r.mark = int32(*v, at + ".mark");
        if (const Json *v = find(item, "halfMinute"))
            r.halfMinute = flag(*v, at + ".halfMinute");
        if (const Json *v = find(item, "shortDwell"))
            r.shortDwell = flag(*v, at + ".shortDwell");
        return r;
    }

    static void trains(const Json &j, Document &doc)
    {
        const std::string path = "trains";
        size_t i = 0;
        for (const Json &item : array(j, path, std::numeric_limits<int32_t>::max())) {
            const std::string at = path + "[" + std::to_string(i++) + "]";
            expectObject(item, at, {"name", "rusici", "podlePotreby", "rows"});
            Train t;
            if (const Json *v = find(item, "name"))
                t.name = text(*v, at + ".name", DocumentFormat::trainNameCapacity);
            if (const Json *v = find(item, "rusici"))
                t.rusici = flag(*v, at + ".rusici");
            if (const Json *v = find(item, "podlePotreby"))
                t.podlePotreby = flag(*v, at + ".podlePotreby");
            if (const Json *v = find(item, "rows")) {
                size_t r = 0;
                for (const Json &rowItem : array(*v, at + ".rows", std::numeric_limits<int32_t>::max())) {
                    const TrainRow tr = row(rowItem, at + ".rows[" + std::to_string(r) + "]");
                    if (r == 0) {
                        t.setRow(0, tr);
                    } else {
                        t.stops.emplace_back();
                        t.setRow(static_cast<int>(r), tr);
                    }
                    ++r;
                }
            }
            doc.trains.push_back(std::move(t));
        }
        doc.trainCount = static_cast<int32_t>(doc.trains.size());
    }

    static void settings(const Json &j, Document &doc)
    {
        const std::string path = "settings";
        expectObject(j, path,
                     {"trainFontSmallName", "trainFontSmallSize", "trainFontLargeName", "trainFontLargeSize",
                      "timeFontName", "timeFontSize", "penThin", "penMedium", "penThick", "saveLabelImages", "zoom",
                      "ratioX", "ratioY", "showTimeLabels", "smoothing", "showCategory"});
        DocumentSettings &s = doc.settings;
        const auto font = [&](const char *key, QByteArray &field) {
            if (const Json *v = find(j, key))
                field = text(*v, path + "." + key, DocumentFormat::fontNameCapacity);
        };
        const auto i32 = [&](const char *key, int32_t &field, int64_t min, int64_t max) {
            if (const Json *v = find(j, key))
                field = static_cast<int32_t>(integer(*v, path + "." + key, min, max));
        };
        const auto u8 = [&](const char *key, uint8_t &field, int min, int max) {
            if (const Json *v = find(j, key))
                field = byte(*v, path + "." + key, min, max);
        };
        const auto f = [&](const char *key, uint8_t &field) {
            if (const Json *v = find(j, key))
                field = flag(*v, path + "." + key);
        };
        constexpr int64_t lo = std::numeric_limits<int32_t>::min();
        constexpr int64_t hi = std::numeric_limits<int32_t>::max();
        font("trainFontSmallName", s.trainFontSmallName);
        i32("trainFontSmallSize", s.trainFontSmallSize, lo, hi);
        font("trainFontLargeName", s.trainFontLargeName);
        i32("trainFontLargeSize", s.trainFontLargeSize, lo, hi);
        font("timeFontName", s.timeFontName);
        i32("timeFontSize", s.timeFontSize, lo, hi);
        u8("penThin", s.penThin, 0, 255);
        u8("penMedium", s.penMedium, 0, 255);
        u8("penThick", s.penThick, 0, 255);
        f("saveLabelImages", s.saveLabelImages);
        u8("zoom", s.zoom, 2, 21);
        i32("ratioX", s.ratioX, 1, 100);
        i32("ratioY", s.ratioY, 1, 100);
        f("showTimeLabels", s.showTimeLabels);
        f("smoothing", s.smoothing);
        f("showCategory", s.showCategory);
    }

    static void lineTracks(const Json &j, Document &doc)
    {
        const std::string path = "lineTracks";
        expectObject(j, path, {"mainTracks", "minHeadway"});
        if (const Json *v = find(j, "mainTracks"))
            doc.lineTracks.mainTracks = byte(*v, path + ".mainTracks", Tracks::singleTrack, Tracks::doubleTrack);
        if (const Json *v = find(j, "minHeadway"))
            doc.lineTracks.minHeadway = static_cast<int32_t>(integer(*v, path + ".minHeadway", 0, Tracks::maxHeadway));
    }

    static void image(const Json &j, const std::string &at, TrainLabel &l)
    {
        if (j.is_null())
            return;
        expectObject(j, at, {"colour", "width", "height", "codes", "values"});
        const auto need = [&](const char *key) -> const Json & {
            const Json *v = find(j, key);
            if (!v)
                refuse(at + "." + key, "chybí");
            return *v;
        };
        l.imageColour = int32(need("colour"), at + ".colour");
        l.width = static_cast<int32_t>(integer(need("width"), at + ".width", 0, DocumentFormat::maxLabelImageSide));
        l.height = static_cast<int32_t>(integer(need("height"), at + ".height", 0, DocumentFormat::maxLabelImageSide));
        l.imageCodes = base64(need("codes"), at + ".codes");
        l.imageValues = base64(need("values"), at + ".values");
        if (l.imageCodes.empty())
            refuse(at + ".codes", "obrázek má aspoň jeden kód");
        const auto runs = std::count_if(l.imageCodes.begin(), l.imageCodes.end(), [](uint8_t c) { return c != 0; });
        if (static_cast<size_t>(runs) != l.imageValues.size())
            refuse(at + ".values", "musí mít jednu hodnotu za každý nenulový kód (" + std::to_string(runs) + ")");
    }

    static void labels(const Json &j, Document &doc)
    {
        const std::string path = "trainLabels";
        size_t i = 0;
        for (const Json &item : array(j, path, std::numeric_limits<int32_t>::max())) {
            const std::string at = path + "[" + std::to_string(i++) + "]";
            expectObject(item, at, {"text", "time", "level", "ascending", "rusici", "visible", "angle", "image"});
            TrainLabel l;
            if (const Json *v = find(item, "text"))
                l.text = text(*v, at + ".text", DocumentFormat::labelTextCapacity);
            if (const Json *v = find(item, "time"))
                l.time = time(*v, at + ".time");
            if (const Json *v = find(item, "level"))
                l.level = number(*v, at + ".level");
            if (const Json *v = find(item, "ascending"))
                l.ascending = flag(*v, at + ".ascending");
            if (const Json *v = find(item, "rusici"))
                l.rusici = flag(*v, at + ".rusici");
            if (const Json *v = find(item, "visible"))
                l.visible = flag(*v, at + ".visible");
            if (const Json *v = find(item, "angle"))
                l.angle = number(*v, at + ".angle");
            if (const Json *v = find(item, "image"))
                image(*v, at + ".image", l);
            // The list is given as an opened document holds it, from head to
            // tail. Opening a file puts each label it reads at the head, so
            // the document to be saved holds them the other way round: each
            // goes to the head here too, and the file, once opened, gives
            // this list again.
            doc.trainLabels.push_front(std::move(l));
        }
    }

    static void profiles(const Json &j, Document &doc)
    {
        const std::string path = "profiles";
        expectObject(j, path, {"direction1", "direction2"});
        for (int direction = 1; direction <= ProfileTable::directions; ++direction) {
            const std::string key = "direction" + std::to_string(direction);
            const Json *list = find(j, key.c_str());
            if (!list)
                continue;
            const std::string dirPath = path + "." + key;
            size_t n = 0;
            for (const Json &item : array(*list, dirPath, ProfileTable::perDirection)) {
                const std::string at = dirPath + "[" + std::to_string(n++) + "]";
                expectObject(item, at, {"name", "runTime", "dwell"});
                TravelTimeProfile &p = doc.profiles.at(direction, static_cast<int>(n));
                if (const Json *v = find(item, "name"))
                    p.name = text(*v, at + ".name", DocumentFormat::profileNameCapacity);
                const auto entries = [&](const char *k, std::array<int32_t, TravelTimeProfile::entries> &field) {
                    const Json *v = find(item, k);
                    if (!v)
                        return;
                    const std::string ap = at + "." + k;
                    size_t e = 0;
                    for (const Json &value : array(*v, ap, TravelTimeProfile::entries)) {
                        field[e] = int32(value, ap + "[" + std::to_string(e) + "]");
                        ++e;
                    }
                };
                entries("runTime", p.runTime);
                entries("dwell", p.dwell);
            }
            doc.profiles.countOf(direction) = static_cast<uint8_t>(n);
        }
    }
};

} // namespace

DocumentJson::Json DocumentJson::toJson(const Document &doc)
{
    Json root;

    Json stations = Json::array();
    for (const Station &s : doc.stations) {
        Json j;
        j["name"] = utf8(s.name.view());
        // A whole kilometre stays a whole number, as it always was.
        if (s.metres % Kilometres::metresPerKm == 0)
            j["km"] = s.metres / Kilometres::metresPerKm;
        else
            j["km"] = Kilometres::toKm(s.metres);
        // Track numbers only where they are set: a station that follows the
        // defaults reads as it always did.
        if (s.sectionTracks != Tracks::lineDefault)
            j["sectionTracks"] = s.sectionTracks;
        if (s.stationTracks != Tracks::byKind)
            j["stationTracks"] = s.stationTracks;
        if (s.sectionHeadway != Tracks::lineHeadway)
            j["sectionHeadway"] = s.sectionHeadway;
        stations.push_back(std::move(j));
    }
    root["stations"] = std::move(stations);

    Json kinds = Json::array();
    for (const StationKind &k : doc.stationKinds) {
        Json j;
        j["stationIndex"] = k.stationIndex;
        j["dopravna"] = k.dopravna;
        j["hradlo"] = k.hradlo;
        j["hlaska"] = k.hlaska;
        j["odbocka"] = k.odbocka;
        j["nakladiste"] = k.nakladiste;
        j["zastavka"] = k.zastavka;
        j["kilometr"] = k.kilometr;
        kinds.push_back(std::move(j));
    }
    root["stationKinds"] = std::move(kinds);

    Json trains = Json::array();
    for (const Train &t : doc.trains) {
        Json j;
        j["name"] = utf8(t.name.view());
        j["rusici"] = t.rusici;
        j["podlePotreby"] = t.podlePotreby;
        Json rows = Json::array();
        // The record's own first row always, even when the train has none.
        rows.push_back(rowJson(t.row(0)));
        for (size_t r = 0; r < t.stops.size(); ++r)
            rows.push_back(rowJson(t.row(static_cast<int>(r) + 1)));
        j["rows"] = std::move(rows);
        trains.push_back(std::move(j));
    }
    root["trains"] = std::move(trains);

    const DocumentSettings &s = doc.settings;
    Json settings;
    settings["trainFontSmallName"] = utf8(s.trainFontSmallName);
    settings["trainFontSmallSize"] = s.trainFontSmallSize;
    settings["trainFontLargeName"] = utf8(s.trainFontLargeName);
    settings["trainFontLargeSize"] = s.trainFontLargeSize;
    settings["timeFontName"] = utf8(s.timeFontName);
    settings["timeFontSize"] = s.timeFontSize;
    settings["penThin"] = s.penThin;
    settings["penMedium"] = s.penMedium;
    settings["penThick"] = s.penThick;
    settings["saveLabelImages"] = s.saveLabelImages;
    settings["zoom"] = s.zoom;
    settings["ratioX"] = s.ratioX;
    settings["ratioY"] = s.ratioY;
    settings["showTimeLabels"] = s.showTimeLabels;
    settings["smoothing"] = s.smoothing;
    settings["showCategory"] = s.showCategory;
    root["settings"] = std::move(settings);

    Json labels = Json::array();
    for (const TrainLabel &l : doc.trainLabels) {
        Json j;
        j["text"] = utf8(l.text.view());
        j["time"] = l.time;
        j["level"] = l.level;
        j["ascending"] = l.ascending;
        j["rusici"] = l.rusici;
        j["visible"] = l.visible;
        j["angle"] = l.angle;
        if (l.hasImage()) {
            Json image;
            image["colour"] = l.imageColour;
            image["width"] = l.width;
            image["height"] = l.height;
            image["codes"] = base64(l.imageCodes);
            image["values"] = base64(l.imageValues);
            j["image"] = std::move(image);
        } else {
            j["image"] = nullptr;
        }
        labels.push_back(std::move(j));
    }
    root["trainLabels"] = std::move(labels);

    Json profiles;
    profiles["direction1"] = profilesJson(doc.profiles, 1);
    profiles["direction2"] = profilesJson(doc.profiles, 2);
    root["profiles"] = std::move(profiles);

    if (doc.lineTracks != LineTracks{}) {
        Json tracks;
        tracks["mainTracks"] = doc.lineTracks.mainTracks;
        tracks["minHeadway"] = doc.lineTracks.minHeadway;
        root["lineTracks"] = std::move(tracks);
    }
    return root;
}

QByteArray DocumentJson::format(const Json &json)
{
    std::string out;
    appendValue(out, json, 0);
    out += '\n';
    return QByteArray::fromStdString(out);
}

QByteArray DocumentJson::formatElement(const Json &json)
{
    std::string out = "  ";
    appendValue(out, json, 2);
    return QByteArray::fromStdString(out);
}

QByteArray DocumentJson::toText(const Document &doc)
{
    return format(toJson(doc));
}

QString DocumentJson::fromJson(const Json &json, Document &doc)
{
    try {
        Reader::expectObject(
            json, "", {"stations", "stationKinds", "trains", "settings", "trainLabels", "profiles", "lineTracks"});
        if (const Json *v = Reader::find(json, "stations"))
            Reader::stations(*v, doc);
        if (const Json *v = Reader::find(json, "stationKinds"))
            Reader::kinds(*v, doc);
        if (const Json *v = Reader::find(json, "trains"))
            Reader::trains(*v, doc);
        if (const Json *v = Reader::find(json, "settings"))
            Reader::settings(*v, doc);
        if (const Json *v = Reader::find(json, "trainLabels"))
            Reader::labels(*v, doc);
        if (const Json *v = Reader::find(json, "profiles"))
            Reader::profiles(*v, doc);
        if (const Json *v = Reader::find(json, "lineTracks"))
            Reader::lineTracks(*v, doc);
    } catch (const Refusal &e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

QString DocumentJson::fromText(const QByteArray &text, Document &doc)
{
    Json json;
    try {
        json = Json::parse(text.constBegin(), text.constEnd());
    } catch (const Json::parse_error &e) {
        // Where, as an editor counts: lines from 1, characters from 1.
        const QByteArrayView read(
            text.constData(),
            static_cast<qsizetype>(std::min<size_t>(e.byte > 0 ? e.byte - 1 : 0, static_cast<size_t>(text.size()))));
        const qsizetype lineStart = read.lastIndexOf('\n') + 1;
        const qsizetype column = QString::fromUtf8(read.sliced(lineStart)).size() + 1;
        return QStringLiteral("není platný JSON: chyba na řádku %1, ve sloupci %2")
            .arg(read.count('\n') + 1)
            .arg(column);
    } catch (const Json::exception &) {
        return QStringLiteral("není platný JSON");
    }
    return fromJson(json, doc);
}
