#pragma once

#include "LabelSteps.h"

#include <QStringList>

#include <cstdio>

// vlakorys-cli import DOC.vrs TIMETABLE.txt OUT.vrs: the editor's Open of
// DOC.vrs, its Import of the text timetable, then Save as OUT.vrs. OUT.vrs
// is written only when every step succeeded.
class ImportCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli import DOC.vrs TIMETABLE.txt OUT.vrs";

    explicit ImportCommand(LabelSteps labels = LabelSteps::standard()) : m_labels(std::move(labels)) {}

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

private:
    LabelSteps m_labels;
};
