#include "SettingsFile.h"

#include "model/ClockTime.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
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

// CSimpleIniA compares sections and keys without regard to case.
using Ini = CSimpleIniA;

bool load(Ini &ini, const QString &path)
{
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = f.readAll();
    return ini.LoadData(data.constData(), static_cast<size_t>(data.size())) >= 0;
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

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {}

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

bool SettingsFile::write(std::initializer_list<std::pair<const char *, QByteArray>> keys, const char *section)
{
    Ini ini;
    load(ini, m_path);
    for (const auto &[key, value] : keys)
        ini.SetValue(section, key, value.constData());
    std::string out;
    if (ini.Save(out) < 0)
        return false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(out.data(), static_cast<qint64>(out.size()));
    return f.commit();
}

bool SettingsFile::writeZoom(uint8_t zoom)
{
    return write({{"Meritko", QByteArray::number(zoom)}}, sectionGeneral);
}

bool SettingsFile::writeSaveLabelImages(bool save)
{
    return write({{"UlozitPopisky", save ? "1" : "0"}}, sectionGeneral);
}

bool SettingsFile::writeTimeFont(const QByteArray &name, int32_t size)
{
    return write({{"Name", name}, {"Size", QByteArray::number(size)}}, sectionTimeLabels);
}

bool SettingsFile::writeSmallTrainFont(const QByteArray &name, int32_t size)
{
    return write({{"NameM", name}, {"SizeM", QByteArray::number(size)}}, sectionTrainLabels);
}

bool SettingsFile::writeLargeTrainFont(const QByteArray &name, int32_t size)
{
    return write({{"NameV", name}, {"SizeV", QByteArray::number(size)}}, sectionTrainLabels);
}

bool SettingsFile::writePenThin(uint8_t width)
{
    return write({{"Slaba", QByteArray::number(width)}}, sectionLines);
}

bool SettingsFile::writePenMedium(uint8_t width)
{
    return write({{"Stredni", QByteArray::number(width)}}, sectionLines);
}

bool SettingsFile::writePenThick(uint8_t width)
{
    return write({{"Silna", QByteArray::number(width)}}, sectionLines);
}
