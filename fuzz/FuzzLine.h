#pragma once

#include "model/Cp1250.h"
#include "model/Document.h"

#include <QString>

#include <vector>

// The stations of the example line (examples/liberec-tanvald), as the file
// reader leaves them: kinds linked, the kilometre table built. The import
// target imports into it and the import seeds name its stations.
namespace FuzzLine {

struct Point
{
    const char *name; // UTF-8
    int32_t km;
};

inline constexpr Point points[] = {
    {"Liberec", 0},
    {"Liberec-Rochlice", 2},
    {"Vesec u Liberce", 4},
    {"Proseč nad Nisou", 7},
    {"km 9", 9},
    {"Jablonec nad Nisou", 12},
    {"Jablonec n.N. zastávka", 13},
    {"Jablonec n.N.-Paseky", 15},
    {"Jablonecké Paseky", 16},
    {"Lučany nad Nisou", 19},
    {"Smržovka", 22},
    {"Smržovka střed", 23},
    {"Odbočka Šumburk", 25},
    {"Tanvald zastávka", 26},
    {"Tanvald", 27},
};

inline void fill(Document &doc)
{
    static const std::vector<Station> stations = [] {
        std::vector<Station> list;
        for (const Point &p : points) {
            Station s;
            s.name = cp1250::fromUnicode(QString::fromUtf8(p.name));
            s.metres = p.km * 1000;
            list.push_back(s);
        }
        return list;
    }();
    doc.stations = stations;
    doc.relinkStationKinds();
    doc.rebuildStationTable();
    doc.noDocument = false;
}

} // namespace FuzzLine
