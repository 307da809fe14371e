#pragma once

#include "editing/LabelMakers.h"

#include <QStringList>

#include <cstdio>

// vlakorys-cli import DOKUMENT.vrs JÍZDNÍ-ŘÁD.txt VÝSTUP.vrs: the editor's
// Open of DOKUMENT.vrs, its Import of the text timetable, then Save as
// VÝSTUP.vrs, which is written only when every step succeeded.
class ImportCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli import DOKUMENT.vrs JÍZDNÍ-ŘÁD.txt VÝSTUP.vrs";

    explicit ImportCommand(LabelMakers labels = LabelMakers::standard()) : m_labels(std::move(labels)) {}

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

private:
    LabelMakers m_labels;
};
