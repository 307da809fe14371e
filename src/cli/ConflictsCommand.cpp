#include "ConflictsCommand.h"

#include "CliOutput.h"

#include "conflicts/ConflictCheck.h"
#include "conflicts/ConflictText.h"
#include "io/DocumentFile.h"
#include "io/FileMessages.h"
#include "model/Document.h"
#include "model/Kilometres.h"

#include <cerrno>
#include <exception>

namespace {

using Json = DocumentJson::Json;

const char *kindKey(Conflict::Kind kind)
{
    switch (kind) {
    case Conflict::Kind::Meet:
        return "meet";
    case Conflict::Kind::Overtaking:
        return "overtaking";
    case Conflict::Kind::Headway:
        return "headway";
    case Conflict::Kind::StationMeet:
        return "stationMeet";
    case Conflict::Kind::StationOvertaking:
        return "stationOvertaking";
    }
    return "";
}

bool write(std::FILE *out, const QByteArray &text)
{
    return std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), out) == static_cast<size_t>(text.size());
}

} // namespace

Json ConflictsCommand::toJson(const Document &doc, const Conflict &c)
{
    Json j;
    j["kind"] = kindKey(c.kind);
    j["severity"] = c.isWarning() ? "warning" : "error";
    j["text"] = ConflictText::kind(c.kind).toStdString();
    j["from"] = c.from;
    j["to"] = c.to;
    j["time"] = ConflictText::span(c).toStdString();
    Json numbers = Json::array();
    Json names = Json::array();
    for (int32_t t : {c.trainA, c.trainB})
        numbers.push_back(t + 1), names.push_back(ConflictText::train(doc, t).toStdString());
    for (int32_t t : c.others)
        numbers.push_back(t + 1), names.push_back(ConflictText::train(doc, t).toStdString());
    j["trains"] = std::move(numbers);
    j["names"] = std::move(names);
    j["stations"] = c.atStation() ? Json::array({c.stationLow}) : Json::array({c.stationLow, c.stationHigh});
    j["place"] = ConflictText::place(doc, c).toStdString();
    if (c.hasPoint)
        j["point"] = Json{{"minute", c.pointMinute}, {"km", c.pointMetres / Kilometres::metresPerKm}};
    else
        j["point"] = nullptr;
    return j;
}

int ConflictsCommand::run(const QStringList &args, std::FILE *out, std::FILE *err) const
{
    const CliOutput::FilesAndJson a = CliOutput::filesAndJson(args, err, 1, usage);
    if (a.status != CliOutput::success)
        return a.status;
    const QStringList &files = a.files;
    const bool json = a.json;
    const QString &path = files.front();

    Document doc;
    const DocumentFile::LoadOutcome loaded = DocumentFile::load(doc, path);
    if (loaded.status != DocumentFile::Status::Ok)
        return CliOutput::fail(err, path, FileMessages::withCause(DocumentFile::message(loaded.status), loaded.cause));
    ConflictCheck check(doc);
    try {
        DocumentReader::finishLoading(doc);
        check.recompute();
    } catch (const std::exception &e) {
        return CliOutput::fail(err, path, QString::fromUtf8(e.what()));
    }
    if (!loaded.read.warning.isEmpty())
        CliOutput::fail(err, path, loaded.read.warning);

    // Written as it is made, a conflict at a time.
    const std::vector<Conflict> &conflicts = check.conflicts();
    const int64_t rest = check.rest();
    errno = 0;
    bool written = true;
    if (json) {
        written = write(out, conflicts.empty() && rest == 0 ? "[" : "[\n");
        for (size_t i = 0; i < conflicts.size() && written; ++i)
            written = write(out, (i > 0 ? ",\n" : "") + DocumentJson::formatElement(toJson(doc, conflicts[i])));
        if (rest > 0 && written)
            written = write(out, ",\n" + DocumentJson::formatElement(Json{{"more", rest}}));
        written = written && write(out, conflicts.empty() && rest == 0 ? "]\n" : "\n]\n");
    } else {
        for (size_t i = 0; i < conflicts.size() && written; ++i)
            written = write(out, ConflictText::line(doc, conflicts[i]).toUtf8() + '\n');
        if (rest > 0 && written)
            written = write(out, ConflictText::rest(rest).toUtf8() + '\n');
    }
    if (!written)
        return CliOutput::outputFailed(err);
    if (!CliOutput::wroteAll(out, err, {}))
        return CliOutput::failure;
    return conflicts.empty() ? CliOutput::success : someFound;
}
