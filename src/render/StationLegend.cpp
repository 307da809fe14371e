#include "StationLegend.h"

#include "model/Cp1250.h"

#include <QFontMetrics>

bool StationLegend::unchanged(const Document &doc, const QFont &font, int paintBoxWidth) const
{
    if (!m_valid || m_width != paintBoxWidth || m_font != font || m_names.size() != doc.stations.size())
        return false;
    for (size_t i = 0; i < m_names.size(); ++i)
        if (doc.stations[i].name.view() != m_names[i])
            return false;
    return true;
}

const std::vector<QString> &StationLegend::layout(const Document &doc, const QFont &font, QPaintDevice *device,
                                                  int paintBoxWidth)
{
    if (unchanged(doc, font, paintBoxWidth))
        return m_lines;
    m_lines.clear();
    m_names.clear();
    const QFontMetrics fm(font, device);
    const int limit = paintBoxWidth - 60;
    QString line;
    const size_t n = doc.stations.size();
    for (size_t k = 1; k <= n; ++k) {
        const QByteArrayView name = doc.stations[k - 1].name.view();
        m_names.emplace_back(name.toByteArray());
        QString entry = QString::number(k) + QStringLiteral(" - ") + cp1250::toUnicode(name);
        if (k < n)
            entry += QStringLiteral(", ");
        if (!line.isEmpty() && fm.horizontalAdvance(line + entry) > limit) {
            m_lines.push_back(line);
            line.clear();
        }
        line += entry;
    }
    if (!line.isEmpty())
        m_lines.push_back(line);
    m_font = font;
    m_width = paintBoxWidth;
    m_valid = true;
    return m_lines;
}
