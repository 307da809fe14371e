#include "RenderCommand.h"

#include "CliOutput.h"
#include "DumpCommand.h"

#include "conflicts/ConflictCheck.h"
#include "editing/Diagram.h"
#include "editing/DocumentOpen.h"
#include "editing/FindTrain.h"
#include "editing/PrintSheet.h"
#include "editing/ViewPicture.h"
#include "io/FileMessages.h"
#include "io/PictureFile.h"
#include "model/Document.h"
#include "model/Kilometres.h"
#include "render/HeadlessWindow.h"
#include "render/Renderer.h"
#include "render/SheetLayout.h"
#include "render/SheetPainter.h"
#include "render/VectorLabels.h"

#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <memory>

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

// "A-B": two kilometres to the metre ("7.562" or "7,562"), each from lo to
// hi kilometres, as metres.
bool parseKilometres(const QString &text, int lo, int hi, int32_t &a, int32_t &b)
{
    const QStringList parts = text.split(u'-');
    if (parts.size() != 2)
        return false;
    const Kilometres::Parsed from = Kilometres::parse(parts[0], hi);
    const Kilometres::Parsed to = Kilometres::parse(parts[1], hi);
    const int64_t least = int64_t{lo} * Kilometres::metresPerKm;
    if (!from.ok() || !to.ok() || from.metres < least || to.metres < least)
        return false;
    a = from.metres;
    b = to.metres;
    return true;
}

// "H:MM" or "HH:MM", a time of day, as minutes.
bool parseClock(const QString &text, int &minutes)
{
    static const QRegularExpression clock(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const QRegularExpressionMatch m = clock.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    if (h > 23 || min > 59)
        return false;
    minutes = h * 60 + min;
    return true;
}

bool parseOnOff(const QString &value, bool &on)
{
    if (value != QLatin1String("on") && value != QLatin1String("off"))
        return false;
    on = value == QLatin1String("on");
    return true;
}

// What parse returns for a command line of the wrong shape.
const QString usagePrefix = QStringLiteral("použití: ");

const QStringList viewOptions = {"--size", "--zoom", "--ratio", "--scroll", "--find"};
const QStringList sheetOptions = {"--layers",   "--overlap", "--scale",  "--from", "--to",
                                  "--stations", "--km",      "--legend", "--dpi"};

// The window after Open with the options applied, rendered.
struct ViewScene
{
    HeadlessWindow window;
    Diagram diagram;

    ViewScene(Document &doc, const RenderCommand::Options &o, const LabelMakers &labels)
        : window(o.size), diagram(doc, window, labels)
    {
        DiagramView &view = diagram.view();
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

        // The window after Open: the scale follows the settings.
        view.updateScale(s);
        diagram.setConflictsShown(o.conflicts, false);
        diagram.contentChanged(Diagram::TrainLabels::Keep, false);
        // As a confirmed search leaves it.
        if (o.find)
            FindTrain::run(diagram, *o.find);
        // Then the user scrolls, within the ranges of the finished render: its
        // first pass runs without the legend gap and has the shorter vertical
        // range.
        if (o.hpos != 0 || o.vpos != 0) {
            view.hpos = o.hpos;
            view.vpos = o.vpos;
            diagram.viewChanged();
        }
    }
};

} // namespace

QString RenderCommand::parse(const QStringList &args, Options &o)
{
    QStringList positional;
    QStringList seen;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            positional << arg;
            continue;
        }
        if (arg == QLatin1String("--sheet")) {
            o.sheet = true;
            continue;
        }
        if (arg == QLatin1String("--no-conflicts")) {
            o.conflicts = false;
            continue;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = eq >= 0 ? arg.left(eq) : arg;
        // An unknown option takes no value: what follows it is not eaten.
        if (!viewOptions.contains(name) && !sheetOptions.contains(name) && name != QLatin1String("--time-labels"))
            return CliOutput::unknownOptionMessage + name;
        QString value;
        if (eq >= 0)
            value = arg.mid(eq + 1);
        else if (i + 1 < args.size())
            value = args[++i];
        else
            return name + QStringLiteral(": chybí hodnota");
        arg = name;
        seen << arg;
        PrintPlan::Choice &c = o.choice;
        int a = 0, b = 0;
        bool on = false;
        if (arg == QLatin1String("--size")) {
            if (!parsePair(value.toLower(), u'x', 1, maxSide, a, b))
                return QStringLiteral("--size: očekává se ŠÍŘKAxVÝŠKA, obojí od 1 do %1 pixelů").arg(maxSide);
            o.size = QSize(a, b);
        } else if (arg == QLatin1String("--zoom")) {
            if (!parseInt(value, DiagramView::minZoom, DiagramView::maxZoom, a))
                return QStringLiteral("--zoom: očekává se stupeň zvětšení od %1 do %2 (4 je 100 %)")
                    .arg(DiagramView::minZoom)
                    .arg(DiagramView::maxZoom);
            o.zoom = a;
        } else if (arg == QLatin1String("--ratio")) {
            if (!parsePair(value, u':', 1, 100, a, b))
                return QStringLiteral("--ratio: očekává se X:Y, obě čísla od 1 do 100");
            o.ratio = std::make_pair(a, b);
        } else if (arg == QLatin1String("--scroll")) {
            if (!parsePair(value, u',', 0, std::numeric_limits<int>::max(), a, b))
                return QStringLiteral("--scroll: očekává se H,V, dvě polohy posuvníků od 0 výše");
            o.hpos = a;
            o.vpos = b;
        } else if (arg == QLatin1String("--time-labels")) {
            if (!parseOnOff(value, on))
                return QStringLiteral("--time-labels: očekává se on nebo off");
            o.timeLabels = on;
        } else if (arg == QLatin1String("--find")) {
            o.find = value;
        } else if (arg == QLatin1String("--layers")) {
            if (!parseInt(value, PrintPlan::minLayers, PrintPlan::maxLayers, c.layers))
                return QStringLiteral("--layers: očekává se %1 až %2 vrstev")
                    .arg(PrintPlan::minLayers)
                    .arg(PrintPlan::maxLayers);
        } else if (arg == QLatin1String("--overlap")) {
            if (!parseInt(value, PrintPlan::minOverlap, PrintPlan::maxOverlap, c.overlap))
                return QStringLiteral("--overlap: očekává se %1 až %2 minut")
                    .arg(PrintPlan::minOverlap)
                    .arg(PrintPlan::maxOverlap);
        } else if (arg == QLatin1String("--scale")) {
            if (!parseInt(value, PrintPlan::minScale, PrintPlan::maxScale, a) || a % PrintPlan::scaleStep != 0)
                return QStringLiteral("--scale: očekává se %1 až %2 procent po %3")
                    .arg(PrintPlan::minScale)
                    .arg(PrintPlan::maxScale)
                    .arg(PrintPlan::scaleStep);
            c.scale = a;
        } else if (arg == QLatin1String("--from") || arg == QLatin1String("--to")) {
            if (!parseClock(value, a))
                return arg + QStringLiteral(": očekává se denní čas H:MM, 0:00 až 23:59");
            c.timeRange = PrintPlan::TimeRange::Span;
            (arg == QLatin1String("--from") ? c.fromMinute : c.toMinute) = a;
        } else if (arg == QLatin1String("--stations")) {
            if (!parsePair(value, u'-', 1, std::numeric_limits<int>::max(), a, b))
                return QStringLiteral("--stations: očekává se I-J, čísla dvou stanic");
            c.kmRange = PrintPlan::KmRange::Stations;
            c.fromStation = a;
            c.toStation = b;
        } else if (arg == QLatin1String("--km")) {
            if (!parseKilometres(value, PrintPlan::minKm, PrintPlan::maxKmField, c.fromMetres, c.toMetres))
                return QStringLiteral("--km: očekává se A-B, dva kilometry od %1 do %2")
                    .arg(PrintPlan::minKm)
                    .arg(PrintPlan::maxKmField);
            if (c.fromMetres == c.toMetres)
                return QStringLiteral("--km: úsek od km %1 do km %1 je prázdný; zadejte dva různé kilometry")
                    .arg(Kilometres::text(c.fromMetres));
            c.kmRange = PrintPlan::KmRange::Kilometres;
        } else if (arg == QLatin1String("--legend")) {
            if (!parseOnOff(value, on))
                return QStringLiteral("--legend: očekává se on nebo off");
            c.legend = on;
        } else if (arg == QLatin1String("--dpi")) {
            if (!parseInt(value, 1, 10000, a)
                || std::find(std::begin(resolutions), std::end(resolutions), a) == std::end(resolutions))
                return QStringLiteral("--dpi: očekává se jedno z rozlišení 75, 144, 150, 180, 300 a 360");
            o.dpi = a;
        }
    }
    for (const QString &arg : seen) {
        if (o.sheet && viewOptions.contains(arg))
            return arg + QStringLiteral(": nelze s --sheet (měřítko listu je --scale)");
        if (!o.sheet && sheetOptions.contains(arg))
            return arg + QStringLiteral(": jen s --sheet");
    }
    if (seen.contains(QLatin1String("--stations")) && seen.contains(QLatin1String("--km")))
        return QStringLiteral("--km: nelze s --stations (úsek trati je jeden)");
    if (o.choice.timeRange == PrintPlan::TimeRange::Span && o.choice.fromMinute >= o.choice.toMinute)
        return QStringLiteral("--from: očekává se čas před --to");
    if (positional.size() != 2)
        return usagePrefix + QString::fromUtf8(usage);
    o.input = positional[0];
    o.output = positional[1];
    const std::optional<PictureFile::Format> format = PictureFile::formatOf(o.output);
    if (!format)
        return o.output + QStringLiteral(": název obrázku musí končit .png, .bmp, .pdf nebo .svg");
    o.format = *format;
    return {};
}

QString RenderCommand::check(const Document &doc, Options &o)
{
    if (o.find && !FindTrain::first(doc, *o.find))
        return FindTrain::notFoundMessage(*o.find);
    PrintPlan::Choice &c = o.choice;
    if (!o.sheet || c.kmRange != PrintPlan::KmRange::Stations)
        return {};
    const int count = static_cast<int>(doc.stations.size());
    if (c.fromStation > count || c.toStation > count)
        return QStringLiteral("--stations: dokument má jen %1 %2")
            .arg(count)
            .arg(count == 1                 ? QStringLiteral("stanici")
                 : count >= 2 && count <= 4 ? QStringLiteral("stanice")
                                            : QStringLiteral("stanic"));
    c.fromStation -= 1;
    c.toStation -= 1;
    if (!PrintPlan(doc).stationsInOrder(c.fromStation, c.toStation))
        return QStringLiteral("--stations: stanice %1 leží nad stanicí %2; zadejte nejprve nižší")
            .arg(c.fromStation + 1)
            .arg(c.toStation + 1);
    const int32_t fromMetres = doc.stations[static_cast<size_t>(c.fromStation)].metres;
    if (fromMetres == doc.stations[static_cast<size_t>(c.toStation)].metres)
        return QStringLiteral("--stations: úsek od stanice %1 do stanice %2 je prázdný (obě leží na km %3)")
            .arg(c.fromStation + 1)
            .arg(c.toStation + 1)
            .arg(Kilometres::text(fromMetres));
    return {};
}

QImage RenderCommand::viewSurface(Document &doc, const Options &options, const LabelMakers &labels)
{
    ViewScene scene(doc, options, labels);
    return scene.diagram.renderer().surface().copy();
}

QString RenderCommand::write(Document &doc, const Options &o, const LabelMakers &labels)
{
    const QString title = QFileInfo(o.input).completeBaseName();
    PictureFile::Picture picture;
    std::unique_ptr<PrintSheet> sheet;
    std::unique_ptr<ViewScene> scene;
    std::unique_ptr<ViewPicture> view;
    ConflictCheck conflicts(doc);
    if (o.sheet) {
        if (o.conflicts)
            conflicts.recompute();
        sheet = std::make_unique<PrintSheet>(
            doc, o.choice,
            PrintSheet::Options{o.timeLabels.value_or(doc.settings.showTimeLabels != 0),
                                doc.settings.showCategory != 0, o.conflicts ? &conflicts.conflicts() : nullptr});
        picture.pixels = sheet->pixels();
        picture.paint = [&sheet](QPainter &p) { sheet->paint(p); };
    } else {
        scene = std::make_unique<ViewScene>(doc, o, labels);
        view = std::make_unique<ViewPicture>(scene->diagram);
        picture = view->picture();
    }
    const PictureFile::Outcome written = PictureFile::write(o.output, o.format, picture, title, o.dpi);
    switch (written.status) {
    case PictureFile::Status::Ok:
        return {};
    case PictureFile::Status::TooLarge: {
        const QSize mm = PictureFile::millimetres(picture.pixels);
        return QStringLiteral("list %1 x %2 mm je pro obrázek s rozlišením %3 DPI příliš velký; zvolte menší --dpi "
                              "nebo --scale, nebo formát .pdf či .svg")
            .arg(mm.width())
            .arg(mm.height())
            .arg(o.dpi);
    }
    case PictureFile::Status::CannotWrite:
        break;
    }
    return FileMessages::withCause(FileMessages::cannotWrite, written.cause);
}

int RenderCommand::run(const QStringList &args, std::FILE *, std::FILE *err) const
{
    Options options;
    const QString problem = parse(args, options);
    if (problem.startsWith(usagePrefix))
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    if (!problem.isEmpty())
        return CliOutput::fail(err, QString(), problem);

    if (CliOutput::outputIsNoInput(err, options.output, {options.input}) != CliOutput::success)
        return CliOutput::failure;
    Document doc;
    QString warning;
    const QString error = DocumentOpen::open(doc, options.input, m_labels, &warning);
    if (!error.isEmpty())
        return CliOutput::fail(err, options.input, error);
    const QString refused = check(doc, options);
    if (!refused.isEmpty())
        return CliOutput::fail(err, options.input, refused);

    const QString failed = write(doc, options, m_labels);
    if (!failed.isEmpty())
        return CliOutput::fail(err, options.output, failed);
    CliOutput::warn(err, options.input, warning);
    return CliOutput::success;
}
