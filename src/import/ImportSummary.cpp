#include "ImportSummary.h"

#include <QStringList>

QString ImportSummary::trainsText() const
{
    if (replaced == 0)
        return QStringLiteral("Přidáno %1 vlaků.").arg(added);
    return QStringLiteral("Přidáno %1 vlaků, nahrazeno %2.").arg(added).arg(replaced);
}

QString ImportSummary::skippedText(int maxListed) const
{
    if (skipped.empty())
        return {};
    QStringList named;
    for (const DaySkipped &s : skipped) {
        if (named.size() == maxListed)
            break;
        named << QStringLiteral("%1 (%2)").arg(s.source, s.reason);
    }
    QString text =
        QStringLiteral("Přeskočeno %1 souborů: %2").arg(skipped.size()).arg(named.join(QStringLiteral(", ")));
    const qsizetype more = static_cast<qsizetype>(skipped.size()) - named.size();
    if (more > 0)
        text += QStringLiteral(" a dalších %1").arg(more);
    return text;
}

ImportSummary ImportSummary::leftOutOf(const DayTimetable &day)
{
    ImportSummary summary;
    summary.skipped = day.skipped;
    summary.duplicates = day.duplicates;
    return summary;
}

QString ImportSummary::leftOutText() const
{
    QStringList lines;
    if (!skipped.empty())
        lines << skippedText();
    if (duplicates > 0)
        lines << QStringLiteral("Vynecháno %1 duplicitních zpráv.").arg(duplicates);
    return lines.join(u'\n');
}

QString ImportSummary::refusedText(const QString &reason) const
{
    const QString leftOut = leftOutText();
    return leftOut.isEmpty() ? reason : leftOut + u'\n' + reason;
}

QString ImportSummary::text() const
{
    QStringList lines{trainsText()};
    if (oneStation > 0)
        lines << QStringLiteral("Vynecháno %1 vlaků, které trať potkávají jen v jedné stanici.").arg(oneStation);
    if (const QString leftOut = leftOutText(); !leftOut.isEmpty())
        lines << leftOut;
    return lines.join(u'\n');
}
