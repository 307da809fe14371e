#pragma once

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>

// The PDF tools of poppler-utils (installed by scripts/deps.sh), as the
// tests read the PDFs the program writes: what a viewer sees, not what the
// program believes it wrote. Header only.
namespace Poppler {

// Standard output of a tool, or "<tool> failed" when it did not run.
inline QString run(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return tool + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}

// pdfinfo's "Page size:" in millimetres.
inline QSizeF pageSizeMm(const QString &pdf)
{
    static const QRegularExpression size(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    const QRegularExpressionMatch m = size.match(run(QStringLiteral("pdfinfo"), {pdf}));
    if (!m.hasMatch())
        return {};
    return {m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72};
}

inline int pages(const QString &pdf)
{
    static const QRegularExpression count(QStringLiteral("Pages:\\s+(\\d+)"));
    return count.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

// The text of the document, or of page `page` only (1-based).
inline QString text(const QString &pdf, int page = 0)
{
    QStringList args;
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return run(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
}

// The first page drawn into an image of exactly `size` pixels, without
// smoothing, so that every pixel is a colour the drawing used.
inline QImage raster(const QString &pdf, QSize size, const QString &outputBase)
{
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-aa"),
                                     QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                                     QStringLiteral("-scale-to-x"), QString::number(size.width()),
                                     QStringLiteral("-scale-to-y"), QString::number(size.height()), pdf, outputBase});
    return QImage(outputBase + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace Poppler
