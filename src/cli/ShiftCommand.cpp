#include "ShiftCommand.h"

#include "CliOutput.h"
#include "DayImportCli.h"
#include "DumpCommand.h"

#include "editing/DocumentOpen.h"
#include "editing/TrainShift.h"
#include "io/DocumentFile.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include <cmath>
#include <exception>

bool ShiftCommand::parseMinutes(const QString &text, int &halfMinutes)
{
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool ok = false;
    const double minutes = t.toDouble(&ok);
    if (!ok || !std::isfinite(minutes) || std::abs(minutes) >= 1440.0)
        return false;
    const double halves = minutes * TrainShift::perMinute;
    if (halves != std::trunc(halves))
        return false;
    halfMinutes = static_cast<int>(halves);
    return true;
}

QString ShiftCommand::apply(Document &doc, const QString &train, int halfMinutes, const QString &fromStation)
{
    const QByteArray name = cp1250::fromUnicode(train);
    int index = -1;
    for (size_t i = 0; i < doc.trains.size() && index < 0; ++i)
        if (doc.trains[i].name.view() == name)
            index = static_cast<int>(i);
    if (index < 0)
        return QStringLiteral("vlak „%1“ v dokumentu není").arg(train);
    const Train &t = doc.trains[static_cast<size_t>(index)];
    int fromRow = 0;
    if (!fromStation.isNull()) {
        const QByteArray station = cp1250::fromUnicode(fromStation);
        fromRow = -1;
        for (int k = 0; k < t.rowCount() && fromRow < 0; ++k) {
            const int32_t ref = t.row(k).station;
            if (ref > 0 && static_cast<size_t>(ref) <= doc.stations.size()
                && doc.stations[static_cast<size_t>(ref - 1)].name.view() == station)
                fromRow = k;
        }
        if (fromRow < 0)
            return QStringLiteral("vlak „%1“ nejede přes stanici „%2“").arg(train, fromStation);
        // From its departure there: a stop's arrival row stays.
        while (fromRow + 1 < t.rowCount() && t.row(fromRow + 1).station == t.row(fromRow).station)
            ++fromRow;
    }
    const int allowed = TrainShift::held(t, fromRow, halfMinutes);
    if (allowed != halfMinutes)
        return QStringLiteral("vlak „%1“ nelze posunout o %2, nejvýš o %3")
            .arg(train, TrainShift::amountText(halfMinutes), TrainShift::amountText(allowed));
    TrainShift::shift(doc, index, fromRow, halfMinutes);
    return {};
}

int ShiftCommand::run(const QStringList &args, std::FILE *, std::FILE *err) const
{
    const QString from = QStringLiteral("--from");
    const DayImportCli::Args parsed = DayImportCli::parse(args, {from});
    if (!parsed.error.isEmpty())
        return CliOutput::fail(err, QString(), parsed.error);
    if (parsed.positional.size() != 4)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QString &path = parsed.positional[0];
    const QString &target = parsed.positional[3];
    int halfMinutes = 0;
    if (!parseMinutes(parsed.positional[2], halfMinutes))
        return CliOutput::fail(
            err, QString(),
            QStringLiteral("neplatný počet minut „%1“ (celé nebo půl minuty, méně než den)").arg(parsed.positional[2]));

    Document doc;
    QString warning;
    const QString error = DocumentOpen::open(doc, path, m_labels, &warning);
    if (!error.isEmpty())
        return CliOutput::fail(err, path, error);
    const QString refused =
        apply(doc, parsed.positional[1], halfMinutes, parsed.has(from) ? parsed.value(from) : QString());
    if (!refused.isEmpty())
        return CliOutput::fail(err, path, refused);
    try {
        m_labels.makeTimeLabels(doc);
    } catch (const std::exception &e) {
        return CliOutput::fail(err, path, QString::fromUtf8(e.what()));
    }
    const int status = CliOutput::saved(err, target, DocumentFile::save(doc, target));
    if (status == CliOutput::success)
        CliOutput::warn(err, path, warning);
    return status;
}
