#include "DiffCommand.h"

#include "CliOutput.h"

#include "editing/TimetableDiff.h"
#include "io/DocumentFile.h"
#include "io/DocumentReader.h"
#include "io/FileMessages.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include <exception>

namespace {

using Json = DocumentJson::Json;

const char *kindKey(TimetableDiff::Kind kind)
{
    switch (kind) {
    case TimetableDiff::Kind::Added:
        return "added";
    case TimetableDiff::Kind::Removed:
        return "removed";
    case TimetableDiff::Kind::Changed:
        return "changed";
    }
    return "";
}

// Reads one side; an empty text on success, else the line to print.
QString read(Document &doc, const QString &path, std::FILE *err)
{
    const DocumentFile::LoadOutcome loaded = DocumentFile::load(doc, path);
    if (loaded.status != DocumentFile::Status::Ok)
        return FileMessages::withCause(DocumentFile::message(loaded.status), loaded.cause);
    try {
        DocumentReader::finishLoading(doc);
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    CliOutput::warn(err, path, loaded.read.warning);
    return {};
}

Json trainIndex(int32_t index)
{
    return index >= 0 ? Json(index + 1) : Json(nullptr);
}

} // namespace

Json DiffCommand::toJson(const TimetableDiff::Result &result)
{
    Json rows = Json::array();
    for (const TimetableDiff::Row &row : result.rows) {
        Json j;
        j["name"] = cp1250::toUnicode(row.name).toStdString();
        j["kind"] = kindKey(row.kind);
        j["word"] = TimetableDiff::word(row.kind).toStdString();
        j["current"] = trainIndex(row.current);
        j["compared"] = trainIndex(row.compared);
        j["occurrence"] = row.occurrence;
        j["sharedName"] = row.sharedName;
        if (row.kind == TimetableDiff::Kind::Changed) {
            j["station"] = row.station.toStdString();
            j["otherRoute"] = row.otherRoute;
            if (row.otherRoute)
                j["minutes"] = nullptr;
            else if (row.seconds % 60 == 0)
                j["minutes"] = row.seconds / 60;
            else
                j["minutes"] = row.seconds / 60.0;
        }
        rows.push_back(std::move(j));
    }
    Json j;
    j["added"] = result.added;
    j["removed"] = result.removed;
    j["changed"] = result.changed;
    j["unchanged"] = result.unchanged;
    j["rows"] = std::move(rows);
    return j;
}

int DiffCommand::run(const QStringList &args, std::FILE *out, std::FILE *err) const
{
    const CliOutput::FilesAndJson a = CliOutput::filesAndJson(args, err, 2, usage);
    if (a.status != CliOutput::success)
        return a.status;
    const QStringList &files = a.files;
    const bool json = a.json;

    Document current;
    Document compared;
    for (const auto &[doc, path] : {std::pair<Document *, QString>{&current, files[0]}, {&compared, files[1]}}) {
        if (const QString failed = read(*doc, path, err); !failed.isEmpty())
            return CliOutput::fail(err, path, failed);
    }
    const TimetableDiff::Result result = TimetableDiff::compare(current, compared);
    QByteArray text;
    if (json) {
        text = DocumentJson::format(toJson(result));
    } else {
        for (const TimetableDiff::Row &row : result.rows)
            text += TimetableDiff::line(row).toUtf8() + '\n';
    }
    if (!CliOutput::wroteAll(out, err, text))
        return CliOutput::failure;
    return result.rows.empty() ? CliOutput::success : differ;
}
