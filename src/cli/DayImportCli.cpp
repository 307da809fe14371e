#include "DayImportCli.h"

#include "CliOutput.h"

#include "io/DocumentFile.h"
#include "io/FileMessages.h"
#include "model/Document.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <exception>

namespace DayImportCli {

Args parse(const QStringList &args, const QStringList &options, const QStringList &repeatable)
{
    Args parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            parsed.positional << arg;
            continue;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = eq >= 0 ? arg.left(eq) : arg;
        // An unknown option takes no value: what follows it is not eaten.
        if (!options.contains(name)) {
            parsed.error = CliOutput::unknownOptionMessage + name;
            return parsed;
        }
        QString value;
        if (eq >= 0)
            value = arg.mid(eq + 1);
        else if (i + 1 < args.size())
            value = args[++i];
        else {
            parsed.error = name + QStringLiteral(": chybí hodnota");
            return parsed;
        }
        if (parsed.has(name) && !repeatable.contains(name)) {
            parsed.error = name + QStringLiteral(": volba je zadána dvakrát");
            return parsed;
        }
        parsed.values[name] << value;
    }
    return parsed;
}

QString common(const Args &args, Common &c, bool endsRequired)
{
    const QString into = QStringLiteral("--into");
    const QString from = QStringLiteral("--from");
    const QString to = QStringLiteral("--to");
    const QString day = QStringLiteral("--day");
    if (!args.has(day))
        return QStringLiteral("chybí volba --day RRRR-MM-DD");
    static const QRegularExpression isoDate(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QString dayText = args.value(day).trimmed();
    c.day = isoDate.match(dayText).hasMatch() ? QDate::fromString(dayText, Qt::ISODate) : QDate();
    if (!c.day.isValid())
        return QStringLiteral("--day: očekává se datum RRRR-MM-DD, například 2026-03-04");
    c.into = args.value(into);
    if (args.has(into)) {
        for (const QString &end : {from, to}) {
            if (args.has(end))
                return end + QStringLiteral(": nelze s --into (vlaky jdou do stanic dokumentu)");
        }
        return {};
    }
    if (args.has(from) != args.has(to) || (endsRequired && !args.has(from)))
        return QStringLiteral("chybí volba %1 (nová trať potřebuje --from a --to)").arg(args.has(from) ? to : from);
    c.from = args.value(from);
    c.to = args.value(to);
    return {};
}

int requireExisting(std::FILE *err, const QString &path)
{
    if (QFileInfo::exists(path))
        return CliOutput::success;
    return CliOutput::fail(err, path, FileMessages::withCause(FileMessages::cannotOpen, FileMessages::cause(ENOENT)));
}

QString countsLine(int trains, int stations)
{
    return QStringLiteral("%1 trains, %2 stations").arg(trains).arg(stations);
}

int finish(Document &doc, const RealTimetableImport::Result &result, const QStringList &notes, const QString &target,
           const LabelMakers &labels, std::FILE *out, std::FILE *err, const QString &warningFile,
           const QString &warning)
{
    try {
        labels.makeTrainLabels(doc);
        labels.makeTimeLabels(doc);
    } catch (const std::exception &e) {
        return CliOutput::fail(err, target, QString::fromUtf8(e.what()));
    }
    // The summary first: when it cannot be written, no document is either.
    QStringList lines{result.text()};
    lines << notes << countsLine(result.trains(), result.stations);
    const QByteArray text = (lines.join(u'\n') + u'\n').toUtf8();
    if (!CliOutput::wroteAll(out, err, text))
        return CliOutput::failure;
    const int saved = CliOutput::saved(err, target, DocumentFile::save(doc, target));
    if (saved != CliOutput::success)
        return saved;
    CliOutput::warn(err, warningFile, warning);
    return CliOutput::success;
}

} // namespace DayImportCli
