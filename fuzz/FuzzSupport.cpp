#include "FuzzSupport.h"

#include "conflicts/ConflictCheck.h"
#include "editing/LabelGeneration.h"
#include "io/DocumentReader.h"
#include "io/DocumentWriter.h"
#include "model/Document.h"
#include "model/Errors.h"
#include "render/DiagramView.h"
#include "render/Fonts.h"
#include "render/LabelText.h"
#include "render/ProgressSink.h"

#include <QBuffer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace FuzzSupport {

namespace {

// Qt's notes about fonts and the environment would drown libFuzzer's output.
void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
}

QByteArray save(const Document &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!DocumentWriter::write(doc, buffer))
        fault("the document could not be written to memory");
    return buffer.data();
}

} // namespace

void initialize()
{
    qInstallMessageHandler(quiet);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vlakorys-fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    Fonts::installSubstitutions();
    // The font database fills on first use; done here, that time is not
    // charged to the first input, which has one second like every other.
    LabelText::size(Fonts::makeFont("Arial CE", 8), "Arial CE", "0");
}

void fault(const char *what)
{
    std::fprintf(stderr, "FAULT: %s\n", what);
    std::abort();
}

void checkSaveReopens(const Document &doc)
{
    const QByteArray saved = save(doc);
    Document reopened;
    QBuffer buffer;
    buffer.setData(saved);
    buffer.open(QIODevice::ReadOnly);
    const DocumentReader::Outcome outcome = DocumentReader::read(reopened, buffer);
    if (outcome.status != DocumentReader::Status::Ok)
        fault("a saved document does not open again");
    if (!outcome.warning.isEmpty())
        fault("a saved document opens with a warning");
    std::reverse(reopened.trainLabels.begin(), reopened.trainLabels.end());
    if (save(reopened) != saved)
        fault("saving a reopened document changes its bytes");
}

// The conflict check the editor runs on an opened document, and the
// recheck of one train, which must find what the whole check finds.
void checkConflicts(const Document &doc)
{
    if (doc.trains.empty())
        return;
    ConflictCheck check(doc);
    check.recompute();
    const std::vector<Conflict> all = check.conflicts();
    check.recheckTrain(static_cast<int32_t>(doc.trains.size()) - 1);
    if (check.conflicts() != all)
        fault("rechecking a train changes the conflicts");
}

void openSteps(Document &doc)
{
    try {
        DocumentReader::finishLoading(doc);
        DiagramView view;
        view.updateScale(doc.settings);
        if (doc.trainLabels.empty())
            MakeTrainLabels(doc, view.scale);
        NullProgress progress;
        MakeTimeLabels(doc, view.scale, progress);
        checkConflicts(doc);
    } catch (const RangeError &) {
        // The command ends with its message; the user may still save.
    } catch (const ConversionError &) {
    }
    checkSaveReopens(doc);
}

} // namespace FuzzSupport
