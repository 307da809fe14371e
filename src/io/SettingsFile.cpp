#include "SettingsFile.h"

#include "WholeFile.h"

#include "model/ClockTime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <string>

namespace {

constexpr const char *fileName = "Vlakorys.ini";
constexpr const char *sectionGeneral = "Nastaveni";
constexpr const char *sectionTimeLabels = "Casove popisky";
constexpr const char *sectionTrainLabels = "Vlakove popisky";
constexpr const char *sectionLines = "Cary";
constexpr const char *sectionImport = "Import";
constexpr const char *keyCodebook = "CiselnikSR70";

// Far above any settings file; a larger one is not read (and not replaced).
constexpr qint64 maxFileBytes = qint64(16) * 1024 * 1024;

// CSimpleIniA compares sections and keys without regard to case.
using Ini = CSimpleIniA;

// A missing file is an empty one; a file that cannot be read whole gives
// its cause.
WholeFile::Read load(Ini &ini, const QString &path)
{
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    if (!QFileInfo::exists(path))
        return {};
    WholeFile::Read read = WholeFile::read(path, maxFileBytes);
    if (read.status == WholeFile::Status::Ok)
        ini.LoadData(read.bytes.constData(), static_cast<size_t>(read.bytes.size()));
    read.bytes.clear();
    return read;
}

// A Windows profile reader drops one pair of quotes around a value.
QByteArray text(const Ini &ini, const char *section, const char *key, const QByteArray &fallback)
{
    const char *v = ini.GetValue(section, key, nullptr);
    if (!v)
        return fallback;
    QByteArray value(v);
    if (value.size() >= 2
        && ((value.front() == '"' && value.back() == '"') || (value.front() == '\'' && value.back() == '\'')))
        value = value.mid(1, value.size() - 2);
    return value;
}

int32_t integer(const Ini &ini, const char *section, const char *key, int32_t fallback)
{
    const char *v = ini.GetValue(section, key, nullptr);
    int32_t value = 0;
    if (!v || !tryParseInteger(QByteArray(v).trimmed(), value))
        return fallback;
    return value;
}

uint8_t byteValue(const Ini &ini, const char *section, const char *key, uint8_t fallback)
{
    const int32_t v = integer(ini, section, key, fallback);
    return v < 0 || v > 255 ? fallback : static_cast<uint8_t>(v);
}

} // namespace

QString SettingsFile::defaultPath()
{
    QString dir = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (dir.isEmpty() || !QDir::isAbsolutePath(dir))
        dir = QDir::homePath() + QStringLiteral("/.config");
    return QDir(dir).filePath(QString::fromLatin1(fileName));
}

SettingsFile::SettingsFile(QString path) : m_path(std::move(path))
{
}

void SettingsFile::readInto(DocumentSettings &s) const
{
    Ini ini;
    load(ini, m_path); // a missing or unreadable file gives the defaults
    const DocumentSettings defaults;
    s.zoom = byteValue(ini, sectionGeneral, "Meritko", defaults.zoom);
    s.saveLabelImages = integer(ini, sectionGeneral, "UlozitPopisky", defaults.saveLabelImages) != 0 ? 1 : 0;
    s.timeFontName = text(ini, sectionTimeLabels, "Name", defaults.timeFontName);
    s.timeFontSize = integer(ini, sectionTimeLabels, "Size", defaults.timeFontSize);
    s.trainFontSmallName = text(ini, sectionTrainLabels, "NameM", defaults.trainFontSmallName);
    s.trainFontSmallSize = integer(ini, sectionTrainLabels, "SizeM", defaults.trainFontSmallSize);
    s.trainFontLargeName = text(ini, sectionTrainLabels, "NameV", defaults.trainFontLargeName);
    s.trainFontLargeSize = integer(ini, sectionTrainLabels, "SizeV", defaults.trainFontLargeSize);
    s.penThin = byteValue(ini, sectionLines, "Slaba", defaults.penThin);
    s.penMedium = byteValue(ini, sectionLines, "Stredni", defaults.penMedium);
    s.penThick = byteValue(ini, sectionLines, "Silna", defaults.penThick);
}

SafeFile::Result SettingsFile::write(std::initializer_list<std::pair<const char *, QByteArray>> keys,
                                     const char *section)
{
    Ini ini;
    // A file that exists but cannot be read is left alone: written anew it
    // would lose every other key.
    const WholeFile::Read read = load(ini, m_path);
    if (read.status != WholeFile::Status::Ok)
        return {SafeFile::Failure::Write, read.cause};
    for (const auto &[key, value] : keys)
        ini.SetValue(section, key, value.constData());
    std::string out;
    if (ini.Save(out) < 0)
        return {SafeFile::Failure::Write, {}};
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    return SafeFile::write(m_path, QByteArrayView(out.data(), static_cast<qsizetype>(out.size())));
}

QString SettingsFile::readCodebookPath() const
{
    Ini ini;
    load(ini, m_path);
    return QFile::decodeName(text(ini, sectionImport, keyCodebook, {}));
}

SafeFile::Result SettingsFile::writeCodebookPath(const QString &path)
{
    return write({{keyCodebook, QFile::encodeName(path)}}, sectionImport);
}

bool SettingsFile::readShowConflicts() const
{
    Ini ini;
    load(ini, m_path);
    return integer(ini, sectionGeneral, "Konflikty", 1) != 0;
}

SafeFile::Result SettingsFile::writeShowConflicts(bool show)
{
    return write({{"Konflikty", show ? "1" : "0"}}, sectionGeneral);
}

SafeFile::Result SettingsFile::writeZoom(uint8_t zoom)
{
    return write({{"Meritko", QByteArray::number(zoom)}}, sectionGeneral);
}

SafeFile::Result SettingsFile::writeSaveLabelImages(bool save)
{
    return write({{"UlozitPopisky", save ? "1" : "0"}}, sectionGeneral);
}

SafeFile::Result SettingsFile::writeTimeFont(const QByteArray &name, int32_t size)
{
    return write({{"Name", name}, {"Size", QByteArray::number(size)}}, sectionTimeLabels);
}

SafeFile::Result SettingsFile::writeSmallTrainFont(const QByteArray &name, int32_t size)
{
    return write({{"NameM", name}, {"SizeM", QByteArray::number(size)}}, sectionTrainLabels);
}

SafeFile::Result SettingsFile::writeLargeTrainFont(const QByteArray &name, int32_t size)
{
    return write({{"NameV", name}, {"SizeV", QByteArray::number(size)}}, sectionTrainLabels);
}

SafeFile::Result SettingsFile::writePenThin(uint8_t width)
{
    return write({{"Slaba", QByteArray::number(width)}}, sectionLines);
}

SafeFile::Result SettingsFile::writePenMedium(uint8_t width)
{
    return write({{"Stredni", QByteArray::number(width)}}, sectionLines);
}

SafeFile::Result SettingsFile::writePenThick(uint8_t width)
{
    return write({{"Silna", QByteArray::number(width)}}, sectionLines);
}
