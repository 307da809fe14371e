#pragma once

#include "editing/LabelMakers.h"

#include <QStringList>

#include <cstdio>

// vlakorys-cli dump SOUBOR.vrs: the document as the editor's Open command
// leaves it (DocumentOpen), printed as JSON on standard output.
class DumpCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli dump SOUBOR.vrs";

    explicit DumpCommand(LabelMakers labels = LabelMakers::standard()) : m_labels(std::move(labels)) {}

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

private:
    LabelMakers m_labels;
};
