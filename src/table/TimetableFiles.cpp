#include "TimetableFiles.h"

#include "TimetablePages.h"

#include <QFileInfo>
#include <QStringList>

namespace TimetableFiles {

std::optional<Format> formatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return Format::Html;
    return std::nullopt;
}

std::vector<TimetableTable> tables(const Document &doc, int direction)
{
    std::vector<TimetableTable> list;
    for (int d = 1; d <= 2; ++d)
        if (direction == 0 || direction == d)
            list.emplace_back(doc, d);
    return list;
}

namespace {

QString field(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

QByteArray csv(const std::vector<TimetableTable> &tables)
{
    QString out = QString(QChar(0xFEFF));
    const auto line = [&out](const QStringList &fields) {
        QStringList quoted;
        for (const QString &f : fields)
            quoted << field(f);
        out += quoted.join(u';') + QStringLiteral("\r\n");
    };
    for (size_t i = 0; i < tables.size(); ++i) {
        const TimetableTable &t = tables[i];
        if (i > 0)
            out += QStringLiteral("\r\n");
        line({t.title()});
        QStringList head{QStringLiteral("km"), QStringLiteral("Stanice"), QString()};
        for (const TimetableTable::Column &c : t.columns())
            head << c.name;
        line(head);
        for (int r = 0; r < t.rowCount(); ++r) {
            QStringList row{t.kilometreText(r), t.stationName(r), t.rowKind(r)};
            for (int c = 0; c < t.columnCount(); ++c)
                row << t.cell(r, c).spreadsheetText();
            line(row);
        }
    }
    return out.toUtf8();
}

QByteArray html(const std::vector<TimetableTable> &tables, const QString &line)
{
    QString out = QStringLiteral("<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\">\n<title>")
                  + line.toHtmlEscaped()
                  + QStringLiteral("</title>\n<style>\ntable { border-collapse: collapse; font-family: sans-serif; "
                                   "font-size: 9pt; margin-bottom: 2em; }\nth, td { border: 1px solid #999; padding: "
                                   "1px 4px; }\ntd.t { text-align: center; }\n</style>\n</head>\n<body>\n<h1>")
                  + line.toHtmlEscaped() + QStringLiteral("</h1>\n");
    for (const TimetableTable &t : tables) {
        out += QStringLiteral("<h2>") + t.title().toHtmlEscaped()
               + QStringLiteral("</h2>\n<table>\n<thead><tr>"
                                "<th>km</th><th>Stanice</th><th></th>");
        for (const TimetableTable::Column &c : t.columns())
            out += QStringLiteral("<th>") + c.name.toHtmlEscaped() + QStringLiteral("</th>");
        out += QStringLiteral("</tr></thead>\n<tbody>\n");
        for (int r = 0; r < t.rowCount(); ++r) {
            out += QStringLiteral("<tr><td>") + t.kilometreText(r) + QStringLiteral("</td><td>")
                   + t.stationName(r).toHtmlEscaped() + QStringLiteral("</td><td>") + t.rowKind(r)
                   + QStringLiteral("</td>");
            for (int c = 0; c < t.columnCount(); ++c)
                out += QStringLiteral("<td class=\"t\">") + t.cell(r, c).text() + QStringLiteral("</td>");
            out += QStringLiteral("</tr>\n");
        }
        out += QStringLiteral("</tbody>\n</table>\n");
    }
    out += QStringLiteral("</body>\n</html>\n");
    return out.toUtf8();
}

SafeFile::Result write(const QString &path, Format format, const std::vector<TimetableTable> &tables,
                       const QString &line)
{
    QByteArray bytes;
    switch (format) {
    case Format::Pdf:
        bytes = TimetablePages::pdf(tables, line);
        if (bytes.isEmpty())
            return {SafeFile::Failure::Write, {}};
        break;
    case Format::Csv:
        bytes = csv(tables);
        break;
    case Format::Html:
        bytes = html(tables, line);
        break;
    }
    return SafeFile::write(path, bytes);
}

} // namespace TimetableFiles
