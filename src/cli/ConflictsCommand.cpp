#include "ConflictsCommand.h"

#include "CliOutput.h"

#include "editing/ConflictCheck.h"
#include "editing/ConflictText.h"
#include "io/DocumentFile.h"
#include "io/FileMessages.h"
#include "model/Document.h"
#include "model/Kilometres.h"

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

} // namespace

Json ConflictsCommand::toJson(const Document &doc, const std::vector<Conflict> &conflicts)
{
    Json list = Json::array();
    for (const Conflict &c : conflicts) {
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
        list.push_back(std::move(j));
    }
    return list;
}

int ConflictsCommand::run(const QStringList &args, std::FILE *out, std::FILE *err) const
{
    QStringList files;
    bool json = false;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--json"))
            json = true;
        else if (arg.startsWith(QLatin1String("--")))
            return CliOutput::unknownOption(err, arg.section(u'=', 0, 0));
        else
            files << arg;
    }
    if (files.size() != 1)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
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

    const std::vector<Conflict> &conflicts = check.conflicts();
    QByteArray text;
    if (json) {
        text = DocumentJson::format(toJson(doc, conflicts));
    } else {
        for (const Conflict &c : conflicts)
            text += ConflictText::line(doc, c).toUtf8() + '\n';
    }
    if (!CliOutput::wroteAll(out, err, text))
        return CliOutput::failure;
    return conflicts.empty() ? CliOutput::success : someFound;
}
