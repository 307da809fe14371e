#pragma once

#include "DiagramView.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

// StationColumnBitmap: the column left of the diagram (its width is
// DiagramView::stationColumn) with the
// left axis, a tick at every station line and the station numbers, H + 5
// pixels high. Only the rows that meet the paint box are ever copied, so the
// column is drawn in a window of rows around them and drawn again when a
// scroll leaves that window; a line thousands of kilometres long at a large
// zoom does not need a bitmap of its full height.
class StationColumn
{
public:
    static constexpr int width = DiagramView::stationColumn;

    struct Number
    {
        int32_t y = 0; // the station line
        int32_t x = 0; // left of the text
        QString text;
    };

    // A new column after a rebuild: height H + 5, the left axis from
    // axisBottom up to 20, and the ticks and numbers of the stations.
    void rebuild(int32_t height, int32_t axisBottom, std::vector<Number> numbers);
    void clear();

    // Copies rows sourceTop .. sourceTop + rows - 1 of the column to the left
    // edge of `target` from its row 0; rows outside the column are white.
    void copyTo(QImage &target, int64_t sourceTop, int rows);

    int32_t height() const { return m_height; }
    const std::vector<Number> &numbers() const { return m_numbers; }

private:
    void paintWindow(int64_t top, int rows);

    std::vector<Number> m_numbers;
    int32_t m_height = 0;
    int32_t m_axisBottom = 0;
    QFont m_font;
    int m_ascent = 0;
    int m_textHeight = 0;
    QImage m_window;
    int64_t m_windowTop = 0;
    bool m_windowValid = false;
};
