// The .vrs reader on any bytes: the header picks the version, so the seeds
// hold files of every version. A file that reads must also survive what Open
// does next (post-processing, label generation) and a save. (Printing it as
// "vlakorys-cli dump" does was left out: it cost four fifths of the speed.)
#include "FuzzSupport.h"

#include "io/DocumentReader.h"
#include "model/Document.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer buffer;
    buffer.setData(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    buffer.open(QIODevice::ReadOnly);
    Document doc;
    const DocumentReader::Outcome outcome = DocumentReader::read(doc, buffer);
    if (outcome.status != DocumentReader::Status::Ok) {
        // A failed read leaves noDocument set when it cleared the document.
        if (outcome.cleared && !doc.noDocument)
            FuzzSupport::fault("a failed read left a document that can be saved");
        return 0;
    }
    FuzzSupport::openSteps(doc);
    return 0;
}
