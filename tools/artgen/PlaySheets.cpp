// Sprites of the play screen: notes, pads, grades, explosions, gauge, meters, skin, background.
#include <array>
#include <cmath>

#include "Sheets.h"
#include "Style.h"

namespace tamtara {

namespace {

// Automatic lanes keep a trace of their colour but read as "not yours".
Rgb AutoColour(Rgb c) {
    return Mix(Rgb{120, 128, 150}, c, 0.25);
}

// Explosion colours by sheet row; the play screen picks the row per lane.
constexpr std::array<Rgb, 5> kBurstColours{Rgb{60, 255, 110}, Rgb{255, 70, 60}, Rgb{255, 200, 50},
                                           Rgb{70, 150, 255}, Rgb{230, 230, 255}};

void Note(Image& sheet, Rect r, Rgb colour) {
    sheet.RoundedRect(r, 4, Palette::Ink);
    const Rect face{r.X + 1, r.Y + 1, r.W - 2, r.H - 2};
    sheet.RoundedGradient(face, 3, Mix(colour, Rgb{255, 255, 255}, 0.5), Scale(colour, 0.55));
    sheet.Fill({face.X + 3, face.Y + 2, face.W - 6, 2}, Mix(colour, Rgb{255, 255, 255}, 0.8));
    sheet.Fill({face.X + 2, face.Y + face.H / 2, face.W - 4, 1}, Scale(colour, 0.9));
}

void Pad(Image& sheet, Rect r, Rgb colour, bool pressed, std::string_view name) {
    // A drum head seen from the player's seat: a silver rim, a coloured skin, the part's initials.
    sheet.RoundedRect(r, 6, Palette::Ink);
    sheet.RoundedGradient({r.X + 1, r.Y + 1, r.W - 2, r.H - 2}, 5, Palette::SilverTop, Palette::Steel);
    const Rect skin{r.X + 4, r.Y + 4, r.W - 8, r.H - 14};
    const Rgb lit = pressed ? Mix(colour, Rgb{255, 255, 255}, 0.55) : colour;
    sheet.RoundedGradient(skin, 4, Mix(lit, Rgb{255, 255, 255}, 0.3), Scale(lit, pressed ? 0.9 : 0.5));
    if (pressed) sheet.RoundedRect({skin.X + 2, skin.Y + 1, skin.W - 4, 4}, 2, Rgb{255, 255, 255}, 0.7);
    FontFace face(Fonts::SansBold);
    face.SetPixelSize(11, 11);
    DrawTextCentred(sheet, face, name, r.X + r.W / 2, skin.Y + skin.H / 2,
                    TextStyle{Rgb{255, 255, 255}, Rgb{230, 230, 240}, Palette::Ink, 1.0});
    // Feet of the stand below the rim.
    sheet.Fill({r.X + 5, r.Bottom() - 7, r.W - 10, 3}, Palette::Steel);
}

void Grade(Image& sheet, int row, std::string_view text, Rgb colour, bool first) {
    FontFace face(Fonts::SansBoldItalic);
    const int size = first ? 40 : 32;
    face.SetPixelSize(size, size);
    Mask m = face.Line(Widen(text), first ? 0 : 1);
    if (m.Ink().W > 134) { // the longest word must fit the 144-pixel cell with its outline
        face.SetPixelSize(size * 134 / m.Ink().W, size);
        m = face.Line(Widen(text));
    }
    const Rect ink = m.Ink();
    Image cell(144, 48, Palette::Canvas);
    const Rgb top = first ? Rgb{255, 255, 255} : Mix(colour, Rgb{255, 255, 255}, 0.6);
    const Rgb bottom = first ? Mix(colour, Rgb{255, 255, 255}, 0.5) : colour;
    PaintMask(cell, m, 72 - ink.X - ink.W / 2, 24 - ink.Y - ink.H / 2,
              TextStyle{top, bottom, first ? colour : Palette::Ink, first ? 3.0 : 2.0, 0, 0, {}, 0, 0.3});
    sheet.Paste(cell, 0, 48 * row);
}

// One 64 × 64 frame: col is the animation step, row the colour.
void Burst(Image& sheet, int col, int row) {
    const double cx = 32, cy = 32;
    const Rgb c = kBurstColours[row];
    const double radius = 10 + 7 * col; // the glow stays inside the 64-pixel cell
    // Drawn additively on the screen, so brightness is all that shows: a glow, a ring and rays.
    for (double r = radius + 8; r > 0; r -= 1)
        sheet.Disc(cx, cy, r, Scale(c, 0.9 * (1 - r / (radius + 8)) * (1 - col * 0.2)));
    sheet.Ring(cx, cy, radius - 2, radius + 1, Mix(c, Rgb{255, 255, 255}, 0.4 - col * 0.1));
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4 + col * 0.2;
        const double inner = radius * 0.5, outer = std::min(radius + 8.0, 31.0);
        sheet.Line(cx + std::cos(a) * inner, cy + std::sin(a) * inner, cx + std::cos(a) * outer,
                   cy + std::sin(a) * outer, 2.0 - col * 0.4, Mix(c, Rgb{255, 255, 255}, 0.5), 0.9);
    }
    if (col == 0) sheet.Disc(cx, cy, 6, Rgb{255, 255, 255});
}

// A dark framed box behind a group of heads-up texts.
void InfoBox(Image& skin, Rect r) {
    skin.Fill(r, Palette::SilverBottom);
    skin.Bevel(r, Palette::SilverTop, Palette::Steel, 2);
    skin.VerticalGradient({r.X + 3, r.Y + 3, r.W - 6, r.H - 6}, Rgb{10, 14, 36}, Rgb{22, 30, 64});
}

void Pillar(Image& skin, Rect r) {
    skin.HorizontalGradient({r.X, r.Y, r.W / 2, r.H}, Palette::Steel, Palette::SilverTop);
    skin.HorizontalGradient({r.X + r.W / 2, r.Y, r.W - r.W / 2, r.H}, Palette::SilverTop, Palette::Steel);
    skin.Fill({r.X, r.Y, 1, r.H}, Palette::Ink);
    skin.Fill({r.Right() - 1, r.Y, 1, r.H}, Palette::Ink);
}

void SmallCaption(Image& image, std::string_view text, int x, int y) {
    FontFace face(Fonts::SansBold);
    face.SetPixelSize(10, 10);
    DrawTextLeft(image, face, text, x, y, TextStyle{Palette::Cyan, Palette::Cyan, Palette::Ink, 0});
}

} // namespace

Image DrawNotes() {
    Image sheet(128, 112, Palette::Canvas);
    for (int lane = 0; lane < LaneCount; ++lane) {
        Note(sheet, NoteInk(lane, 0), kLaneColours[lane]);
        Note(sheet, NoteInk(lane, 1), AutoColour(kLaneColours[lane]));
    }
    return sheet;
}

Image DrawPads() {
    Image sheet(448, 128, Palette::Canvas);
    for (int lane = 0; lane < LaneCount; ++lane)
        for (int row = 0; row < 2; ++row)
            Pad(sheet, PadInk(lane, row), kLaneColours[lane], row == 1, DrumPartLabels[lane]);
    return sheet;
}

Image DrawGrades() {
    Image sheet(144, 384, Palette::Canvas);
    constexpr std::array<std::string_view, 4> words{"MISS", "GOOD", "GREAT", "PERFECT"};
    constexpr std::array<Rgb, 4> colours{GradeColour::Miss, GradeColour::Good, GradeColour::Great,
                                         GradeColour::Perfect};
    for (int g = 0; g < 4; ++g) {
        Grade(sheet, g, words[g], colours[g], false);
        Grade(sheet, g + 4, words[g], colours[g], true);
    }
    return sheet;
}

Image DrawExplosions() {
    Image sheet(192, 320, Palette::Canvas);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 3; ++col) {
            Image cell(64, 64, Palette::Canvas);
            Burst(cell, col, row);
            sheet.Paste(cell, 64 * col, 64 * row);
        }
    return sheet;
}

Image DrawGauge() {
    Image sheet(336, 40, Palette::Ink);
    for (int row = 0; row < 2; ++row) {
        const int y0 = 20 * row;
        for (int x = 0; x < 336; ++x) {
            // Red when nearly empty, through yellow to green when full; the flashing row glows white.
            const double t = x / 335.0;
            Rgb c = t < 0.5 ? Mix(Rgb{230, 40, 30}, Rgb{250, 220, 40}, t * 2)
                            : Mix(Rgb{250, 220, 40}, Rgb{40, 230, 90}, t * 2 - 1);
            if (row == 1) c = Mix(c, Rgb{255, 255, 255}, 0.55);
            sheet.VerticalGradient({x, y0 + 2, 1, 16}, Mix(c, Rgb{255, 255, 255}, 0.45), Scale(c, 0.6));
            // Notches every 8 pixels, one per ten gauge points.
            if (x % 8 == 7) sheet.Fill({x, y0 + 2, 1, 16}, Scale(c, 0.35));
        }
        sheet.Fill({0, y0, 336, 2}, Palette::Ink);
        sheet.Fill({0, y0 + 18, 336, 2}, Palette::Ink);
    }
    return sheet;
}

Image DrawMeters() {
    Image sheet(112, 15, Palette::Ink);
    for (int i = 0; i < 100; ++i) {
        const double t = i / 99.0;
        const Rgb c = t < 0.6 ? Mix(Rgb{40, 200, 120}, Rgb{240, 230, 60}, t / 0.6)
                              : Mix(Rgb{240, 230, 60}, Rgb{240, 60, 40}, (t - 0.6) / 0.4);
        const Rgb seg = i % 3 == 2 ? Scale(c, 0.45) : c; // segmented like an LED bar
        sheet.VerticalGradient({10 + i, 0, 1, 7}, Mix(seg, Rgb{255, 255, 255}, 0.3), Scale(seg, 0.75));
        // The right bar grows leftwards from the screen edge, so its loud end is on the left.
        sheet.VerticalGradient({103 - i, 8, 1, 7}, Mix(seg, Rgb{255, 255, 255}, 0.3), Scale(seg, 0.75));
    }
    // The right bar's last 8 pixels are always on screen: a steel end cap.
    sheet.VerticalGradient({104, 8, 8, 7}, Palette::SilverTop, Palette::Steel);
    return sheet;
}

Image DrawSkin() {
    Image skin(640, 480, Palette::Canvas);
    // Lane frame and the strip below the hit line where the pads stand.
    skin.VerticalGradient({160, 394, 320, 62}, Rgb{16, 20, 44}, Rgb{8, 10, 26});
    Pillar(skin, {152, 0, 8, 456});
    Pillar(skin, {480, 0, 8, 456});
    skin.VerticalGradient({160, 386, 320, 8}, Palette::SilverTop, Palette::Steel);
    skin.Fill({160, 389, 320, 2}, Palette::Cyan);
    // Gauge trough with a frame; the gauge fills 152-488 at y 460.
    skin.Fill({144, 456, 352, 24}, Palette::SilverBottom);
    skin.Bevel({144, 456, 352, 24}, Palette::SilverTop, Palette::Steel, 2);
    skin.Fill({152, 460, 336, 20}, Rgb{12, 12, 24});
    // Heads-up boxes: channel meters on both sides, score, tempo, play length, title, level.
    InfoBox(skin, {0, 120, 150, 140});
    InfoBox(skin, {490, 120, 150, 140});
    SmallCaption(skin, "CHANNELS", 8, 113);
    SmallCaption(skin, "SCORE", 492, 28);
    InfoBox(skin, {530, 12, 110, 32});
    InfoBox(skin, {526, 334, 114, 44});
    InfoBox(skin, {512, 430, 128, 50});
    InfoBox(skin, {0, 332, 116, 50});
    InfoBox(skin, {0, 430, 140, 50});
    return skin;
}

Image DrawBackground() {
    Image back(640, 480);
    DrawBackdrop(back);
    return back;
}

} // namespace tamtara
