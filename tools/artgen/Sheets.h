// The drawing function of every picture, grouped by the screen that shows it. Each returns the
// sheet as painted, before the colour key and the 16-bit rounding are applied.
#pragma once

#include "Raster.h"

namespace tamtara {

// Bitmap fonts and the combo counter.
Image DrawAnkFont();
Image DrawFont16();
Image DrawFont32();
Image DrawFont06();
Image DrawComboFont();

// Play screen.
Image DrawNotes();
Image DrawPads();
Image DrawGrades();
Image DrawExplosions();
Image DrawGauge();
Image DrawMeters();
Image DrawSkin();
Image DrawBackground();

// Opening and title.
Image DrawTitle();
Image DrawTitleSign();
Image DrawLogo();

// Folder and disc selection.
Image DrawFolderSheet();
Image DrawDiscSelectSheet();
Image DrawDisc();

// Mode and part selection.
Image DrawModeBars();
Image DrawModeChoices();
Image DrawPartBars();
Image DrawPartChoices();

// Stage end and result.
Image DrawResultBars();
Image DrawPanel();
Image DrawFailedBanner();
Image DrawClearBanner();

// Latency calibration.
Image DrawCalibrationBars();

} // namespace tamtara
