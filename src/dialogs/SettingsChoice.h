#pragma once

#include "Prompter.h"

#include "model/Records.h"

// What the settings dialog TForm9 holds: the three label fonts as the texts
// of its labels, the three line widths and the label-image check box; and
// the line's track settings, which belong to the document alone (saved with
// it, never to the settings file).
struct SettingsChoice
{
    Prompter::Font timeFont;       // minute labels
    Prompter::Font smallTrainFont; // train labels "M" (Os, Pn ...)
    Prompter::Font largeTrainFont; // train labels "V" (R, Sn, Nex ...)
    int penThin = 1;
    int penMedium = 2;
    int penThick = 3;
    bool saveLabelImages = false;
    int mainTracks = 1; // "Jednokolejná trať" 1, "Dvoukolejná trať" 2
    int minHeadway = 3; // minutes

    static SettingsChoice of(const DocumentSettings &settings, const LineTracks &tracks = {});
};
