#pragma once

#include "model/Document.h"

#include <QByteArray>
#include <QFont>
#include <QString>

#include <vector>

class QPaintDevice;

// The station legend under the diagram: "1 - Name, 2 - Name, ..." filled
// greedily into lines no wider than the paint box less 60 pixels. The
// separator ", " stays at the end of a line; an entry too wide for a line of
// its own still gets one. The layout is kept while the names, the font and
// the width stay the same, because it is asked for on every render.
class StationLegend
{
public:
    const std::vector<QString> &layout(const Document &doc, const QFont &font, QPaintDevice *device, int paintBoxWidth);

private:
    bool unchanged(const Document &doc, const QFont &font, int paintBoxWidth) const;

    std::vector<QString> m_lines;
    std::vector<QByteArray> m_names;
    QFont m_font;
    int m_width = -1;
    bool m_valid = false;
};
