// Maps the entries of the layout table to the functions that draw them.
#include "Catalogue.h"

#include <stdexcept>
#include <string>

#include "Sheets.h"
#include "Style.h"

namespace tamtara {

namespace {

struct Maker {
    std::string_view Entry;
    Image (*Draw)();
};

// "Back.bmp" is the play screen's default background and "back.bmp" the menus' backdrop; the
// package lookup ignores case, so one entry serves both and the layout table holds it once.
constexpr Maker kMakers[] = {
    {"Ank.bmp", DrawAnkFont},
    {"Font16T1.bmp", DrawFont16},
    {"Font32T1.bmp", DrawFont32},
    {"Font06.bmp", DrawFont06},
    {"Combo.bmp", DrawComboFont},
    {"Note2.bmp", DrawNotes},
    {"pad.bmp", DrawPads},
    {"Hit.bmp", DrawGrades},
    {"Explode.bmp", DrawExplosions},
    {"Gauge.bmp", DrawGauge},
    {"TrcMeter.bmp", DrawMeters},
    {"skin2.bmp", DrawSkin},
    {"Back.bmp", DrawBackground},
    {"Title.bmp", DrawTitle},
    {"TitleSt.bmp", DrawTitleSign},
    {"Navor.bmp", DrawLogo},
    {"Folder.bmp", DrawFolderSheet},
    {"MusSelC2.bmp", DrawDiscSelectSheet},
    {"disk2.bmp", DrawDisc},
    {"modesel2.bmp", DrawModeBars},
    {"modeC2.bmp", DrawModeChoices},
    {"partsel3.bmp", DrawPartBars},
    {"PartC2.bmp", DrawPartChoices},
    {"result.bmp", DrawResultBars},
    {"calib.bmp", DrawCalibrationBars},
    {"PanelPB2.bmp", DrawPanel},
    {"Failed_t.bmp", DrawFailedBanner},
    {"Clear_t.bmp", DrawClearBanner},
};

} // namespace

Image RenderSheet(std::string_view entry) {
    const SheetLayout& layout = LayoutOf(entry);
    for (const Maker& m : kMakers) {
        if (m.Entry != layout.Entry) continue;
        Image image = m.Draw();
        if (layout.Key == kMagentaKey) KeyOutCanvas(image);
        if (layout.Key) image.Set(0, 0, *layout.Key); // the game takes its key from this pixel
        image.QuantiseForKey(layout.Key ? &*layout.Key : nullptr);
        return image;
    }
    throw std::out_of_range("no drawing for " + std::string(entry));
}

} // namespace tamtara
