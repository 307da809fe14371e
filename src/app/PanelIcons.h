#pragma once

#include <QIcon>

// Small drawn glyphs for the tool panel's buttons, so the panel looks the
// same with or without an icon theme installed.
namespace PanelIcons {

enum class Glyph { New, Open, Save, Stations, Trains, ZoomIn, ZoomOut, Exit };

QIcon icon(Glyph glyph);

} // namespace PanelIcons
