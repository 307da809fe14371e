#pragma once

#include "model/Document.h"

// Lines the conflict measurements are made on, generated, never stored.
namespace GeneratedLines {

// A busy line as it really is: 60 stations 4 km apart with four tracks
// each, double track but for two single-track sections (stations 20–21 and
// 40–41), a periodic timetable of stopping trains in both directions in
// the three double-track stretches, hourly shuttles over the single
// track, and a dozen trains a minute behind another: a few dozen
// conflicts. About `trains` trains.
void periodic(Document &doc, int trains);

// `trains` identical trains over 10 sections between 8:00 and 9:00: every
// pair of them too close in every section.
void identical(Document &doc, int trains);

} // namespace GeneratedLines
