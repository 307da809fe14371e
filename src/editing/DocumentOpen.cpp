#include "DocumentOpen.h"

#include "LabelMakers.h"

#include "io/FileMessages.h"
#include "model/Document.h"

#include <exception>

namespace DocumentOpen {

DocumentFile::LoadOutcome read(Document &doc, const QString &path)
{
    return DocumentFile::load(doc, path);
}

void finish(Document &doc, const Labels &labels)
{
    doc.untitled = false;
    DocumentReader::finishLoading(doc);
    if (doc.trainLabels.empty())
        labels.train();
    labels.time();
}

QString open(Document &doc, const QString &path, const LabelMakers &labels, QString *warning)
{
    const DocumentFile::LoadOutcome outcome = read(doc, path);
    if (outcome.status != DocumentFile::Status::Ok)
        return FileMessages::withCause(DocumentFile::message(outcome.status), outcome.cause);
    if (warning)
        *warning = outcome.read.warning;
    try {
        finish(doc, {[&] { labels.makeTrainLabels(doc); }, [&] { labels.makeTimeLabels(doc); }});
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace DocumentOpen
