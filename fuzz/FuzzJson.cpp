// "vlakorys-cli build" on any text: the JSON form read into a document. What
// it accepts must write, open in the editor and survive what Open does next.
#include "FuzzSupport.h"

#include "io/DocumentReader.h"
#include "io/DocumentWriter.h"
#include "io/json/DocumentJson.h"
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
    Document built;
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (!DocumentJson::fromText(text, built).isEmpty())
        return 0;
    QBuffer file;
    file.open(QIODevice::ReadWrite);
    if (!DocumentWriter::write(built, file))
        FuzzSupport::fault("a built document could not be written to memory");
    file.seek(0);
    Document opened;
    if (DocumentReader::read(opened, file).status != DocumentReader::Status::Ok)
        FuzzSupport::fault("a built document does not open");
    FuzzSupport::openSteps(opened);
    return 0;
}
