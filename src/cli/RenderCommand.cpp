#include "RenderCommand.h"

#include "CliOutput.h"
#include "DumpCommand.h"

#include "editing/FindTrain.h"
#include "model/Document.h"
#include "render/HeadlessWindow.h"
#include "render/Renderer.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

bool parseInt(const QString &text, int lo, int hi, int &value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < lo || v > hi)
        return false;
    value = v;
    return true;
}

// "X<sep>Y" with both parts in lo..hi.
bool parsePair(const QString &text, QChar separator, int lo, int hi, int &a, int &b)
{
    const QStringList parts = text.split(separator);
    return parts.size() == 2 && parseInt(parts[0].trimmed(), lo, hi, a) && parseInt(parts[1].trimmed(), lo, hi, b);
}

QByteArray formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return "PNG";
    if (suffix == QLatin1String("bmp"))
        return "BMP";
    return {};
}

} // namespace

QString RenderCommand::parse(const QStringList &args, Options &o)
{
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            positional << arg;
            continue;
        }
        QString value;
        const qsizetype eq = arg.indexOf(u'=');
        if (eq >= 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return arg + QStringLiteral(": a value is missing");
        }
        int a = 0, b = 0;
        if (arg == QLatin1String("--size")) {
            if (!parsePair(value.toLower(), u'x', 1, maxSide, a, b))
                return QStringLiteral("--size: expected WIDTHxHEIGHT, each 1 to %1 pixels").arg(maxSide);
            o.size = QSize(a, b);
        } else if (arg == QLatin1String("--zoom")) {
            if (!parseInt(value, DiagramView::minZoom, DiagramView::maxZoom, a))
                return QStringLiteral("--zoom: expected a zoom step from %1 to %2 (4 is 100 %)")
                    .arg(DiagramView::minZoom)
                    .arg(DiagramView::maxZoom);
            o.zoom = a;
        } else if (arg == QLatin1String("--ratio")) {
            if (!parsePair(value, u':', 1, 100, a, b))
                return QStringLiteral("--ratio: expected X:Y, each 1 to 100");
            o.ratio = std::make_pair(a, b);
        } else if (arg == QLatin1String("--scroll")) {
            if (!parsePair(value, u',', 0, std::numeric_limits<int>::max(), a, b))
                return QStringLiteral("--scroll: expected H,V, two scroll positions of 0 or more");
            o.hpos = a;
            o.vpos = b;
        } else if (arg == QLatin1String("--time-labels")) {
            if (value != QLatin1String("on") && value != QLatin1String("off"))
                return QStringLiteral("--time-labels: expected on or off");
            o.timeLabels = value == QLatin1String("on");
        } else if (arg == QLatin1String("--find")) {
            o.find = value;
        } else {
            return arg + QStringLiteral(": unknown option");
        }
    }
    if (positional.size() != 2)
        return QStringLiteral("usage: ") + QString::fromLatin1(usage);
    o.input = positional[0];
    o.output = positional[1];
    if (formatOf(o.output).isEmpty())
        return o.output + QStringLiteral(": the picture's name must end in .png or .bmp");
    return {};
}

QImage RenderCommand::render(Document &doc, const Options &o, const LabelSteps &labels)
{
    DocumentSettings &s = doc.settings;
    const DocumentSettings opened = s;
    if (o.zoom)
        s.zoom = static_cast<uint8_t>(*o.zoom);
    if (o.ratio) {
        s.ratioX = o.ratio->first;
        s.ratioY = o.ratio->second;
    }
    if (s.zoom != opened.zoom || s.ratioX != opened.ratioX || s.ratioY != opened.ratioY)
        labels.makeTimeLabels(doc);
    if (o.timeLabels)
        s.showTimeLabels = *o.timeLabels;

    // The window after Open: its controls hold the document's settings and
    // the scale follows them.
    HeadlessWindow window(o.size);
    window.setChecked(DiagramWindow::CheckBox::TimeLabels, s.showTimeLabels);
    window.setChecked(DiagramWindow::CheckBox::Smoothing, s.smoothing);
    window.setChecked(DiagramWindow::CheckBox::Category, s.showCategory);
    DiagramView view;
    view.updateScale(s);
    Renderer renderer(doc, view);
    if (o.find) {
        // As a confirmed search leaves it; this render rebuilds everything.
        if (const Train *found = FindTrain::first(doc, *o.find)) {
            renderer.highlightOn = true;
            renderer.foundName = found->name.view().toByteArray();
        }
    }
    renderer.keepTimeText = false;
    renderer.labelSelector = 0;
    doc.redrawNeeded = true;
    renderer.render(window);
    // Then the user scrolls, within the ranges of the finished render: its
    // first pass runs without the legend gap and has the shorter vertical
    // range.
    if (o.hpos != 0 || o.vpos != 0) {
        view.hpos = o.hpos;
        view.vpos = o.vpos;
        renderer.render(window);
    }
    return renderer.surface().copy();
}

int RenderCommand::run(const QStringList &args, std::FILE *, std::FILE *err) const
{
    Options options;
    const QString problem = parse(args, options);
    if (problem.startsWith(QLatin1String("usage: ")))
        return CliOutput::usageError(err, QString::fromLatin1(usage));
    if (!problem.isEmpty())
        return CliOutput::fail(err, QString(), problem);

    Document doc;
    const QString error = DumpCommand::openDocument(doc, options.input, m_labels);
    if (!error.isEmpty())
        return CliOutput::fail(err, options.input, error);

    if (options.find && !FindTrain::first(doc, *options.find))
        return CliOutput::fail(err, options.input, FindTrain::notFoundMessage(*options.find));

    QImage picture = render(doc, options, m_labels);
    const QByteArray format = formatOf(options.output);
    if (format == "BMP")
        picture = picture.convertToFormat(QImage::Format_RGB888); // 24 bits per pixel
    QSaveFile file(options.output);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, format.constData()) || !file.commit()) {
        file.cancelWriting();
        return CliOutput::fail(err, options.output, QStringLiteral("cannot write the picture"));
    }
    return CliOutput::success;
}
