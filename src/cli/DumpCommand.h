#pragma once

#include "editing/LabelMakers.h"

#include <QStringList>

#include <cstdio>

class Document;

// vlakorys-cli dump SOUBOR.vrs: the document as the editor's Open command
// leaves it, printed as JSON on standard output.
class DumpCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli dump SOUBOR.vrs";

    explicit DumpCommand(LabelMakers labels = LabelMakers::standard()) : m_labels(std::move(labels)) {}

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

    // Open's steps on a named file: read, finish (kinds linked, kilometre
    // table), train labels when the file had none, time labels. Returns an
    // empty text, or the message the editor would show. What the editor
    // would tell once the document is open (a damaged part it did without)
    // goes into warning, for the command to print when it succeeds.
    static QString openDocument(Document &doc, const QString &path, const LabelMakers &labels,
                                QString *warning = nullptr);

private:
    LabelMakers m_labels;
};
