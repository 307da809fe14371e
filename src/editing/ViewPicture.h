#pragma once

#include "io/PictureFile.h"
#include "render/SheetLayout.h"
#include "render/SheetPainter.h"

class Diagram;

// The view as a picture, for "Exportovat" (the view) and `vlakorys-cli
// render`: the diagram drawn as it stands, the surface's pixels for PNG and
// BMP, and for PDF and SVG the same recording drawn by the painter back end
// (laid out only when painted). It reads the diagram it was made from.
class ViewPicture
{
public:
    explicit ViewPicture(Diagram &diagram);
    ViewPicture(const ViewPicture &) = delete;
    ViewPicture &operator=(const ViewPicture &) = delete;

    const PictureFile::Picture &picture() const { return m_picture; }

private:
    void paint(QPainter &painter);

    Diagram &m_diagram;
    PictureFile::Picture m_picture;
    SheetLayout m_layout;
    SheetPainter::Recording m_recording;
};
