#pragma once

#include "SafeFile.h"

#include "model/Records.h"

#include <QString>

// The per-user settings file "Vlakorys.ini": the appearance defaults for new
// documents and the next start. Sections and keys are matched without regard
// to case and booleans are written as 1 and 0, as Windows profile files do,
// so a file from that world reads the same.
//
// Reading never fails: a missing file, section or key, a value that is not a
// number, or a byte value outside 0..255 gives the default. Every write goes
// to the file at once through SafeFile, replacing it only once the new text
// is complete; a file that exists but cannot be read is not replaced.
class SettingsFile
{
public:
    // XDG_CONFIG_HOME (default ~/.config) / Vlakorys.ini
    static QString defaultPath();

    explicit SettingsFile(QString path = defaultPath());

    // Shown naming the file and the cause (FileMessages::naming).
    static inline const QString writeErrorMessage = QStringLiteral("Nastavení nelze zapsat do souboru.");

    const QString &path() const { return m_path; }

    // Reads the keys in the order the program always has: Meritko,
    // UlozitPopisky, Name, Size, NameM, SizeM, NameV, SizeV, Slaba,
    // Stredni, Silna.
    void readInto(DocumentSettings &settings) const;

    // The SR70 codebook the CZPTT import placed its last line with, as the
    // file system names it (the path's own bytes, whatever the code page of
    // the rest); empty when none was chosen.
    QString readCodebookPath() const;
    SafeFile::Result writeCodebookPath(const QString &path);

    // Whether the diagram marks the conflicts between trains (on unless
    // turned off).
    bool readShowConflicts() const;
    SafeFile::Result writeShowConflicts(bool show);

    SafeFile::Result writeZoom(uint8_t zoom);
    SafeFile::Result writeSaveLabelImages(bool save);
    SafeFile::Result writeTimeFont(const QByteArray &name, int32_t size);
    SafeFile::Result writeSmallTrainFont(const QByteArray &name, int32_t size);
    SafeFile::Result writeLargeTrainFont(const QByteArray &name, int32_t size);
    SafeFile::Result writePenThin(uint8_t width);
    SafeFile::Result writePenMedium(uint8_t width);
    SafeFile::Result writePenThick(uint8_t width);

private:
    SafeFile::Result write(std::initializer_list<std::pair<const char *, QByteArray>> keys, const char *section);

    QString m_path;
};
