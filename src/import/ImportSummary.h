#pragma once

// What an import of real trains did, for the closing message of the dialog
// and the command line: trains added and replaced, trains that meet the
// line at one station only, and the input that could not be read, each
// with its source.

#include "io/sources/DayTimetable.h"

#include <QString>

#include <vector>

struct ImportSummary
{
    int added = 0;
    int replaced = 0;   // trains already in the document under the same name
    int oneStation = 0; // trains of the day that reach only one station of the line
    std::vector<DaySkipped> skipped;
    int duplicates = 0; // messages of the source read twice, left out

    // What the day left out of its input, with no train counted yet.
    static ImportSummary leftOutOf(const DayTimetable &day);

    // "Přidáno 35 vlaků, nahrazeno 2."
    QString trainsText() const;
    // "Přeskočeno 2 souborů: a.xml (poškozené XML (řádek 3)), b.zip (…)";
    // the first maxListed are named, the rest counted. Empty when nothing
    // was skipped.
    QString skippedText(int maxListed = 10) const;
    // The lines on the input left out: skipped, then duplicates; empty
    // when nothing was.
    QString leftOutText() const;
    // When nothing is imported: what was left out first, then the reason.
    QString refusedText(const QString &reason) const;
    // Every line that applies, one below the other.
    QString text() const;
};
