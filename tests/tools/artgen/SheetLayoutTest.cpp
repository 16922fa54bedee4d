// Checks every generated picture against the layout the game's screens draw from.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "BmpWriter.h"
#include "Catalogue.h"
#include "Layout.h"

namespace tamtara {

void PrintTo(const SheetLayout& layout, std::ostream* os) {
    *os << layout.Entry;
}

namespace {

const Image& Sheet(std::string_view entry) {
    static std::map<std::string, Image, std::less<>> cache;
    auto it = cache.find(entry);
    if (it == cache.end()) it = cache.emplace(std::string(entry), RenderSheet(entry)).first;
    return it->second;
}

int CountKey(const Image& image, Rect r, Rgb key) {
    int n = 0;
    for (int y = r.Y; y < r.Bottom(); ++y)
        for (int x = r.X; x < r.Right(); ++x)
            n += image.At(x, y) == key ? 1 : 0;
    return n;
}

std::string Describe(Rect r) {
    return "(" + std::to_string(r.X) + ", " + std::to_string(r.Y) + ", " + std::to_string(r.W) + ", " +
           std::to_string(r.H) + ")";
}

std::vector<SheetLayout> KeyedLayouts() {
    std::vector<SheetLayout> keyed;
    for (const SheetLayout& s : SheetLayouts())
        if (s.Key) keyed.push_back(s);
    return keyed;
}

class EverySheet : public testing::TestWithParam<SheetLayout> {};
class KeyedSheet : public testing::TestWithParam<SheetLayout> {};

TEST_P(EverySheet, HasTheLayoutSize) {
    const Image& image = Sheet(GetParam().Entry);
    EXPECT_EQ(image.Width(), GetParam().Width);
    EXPECT_EQ(image.Height(), GetParam().Height);
}

TEST_P(KeyedSheet, CarriesItsKeyAtTheTopLeftPixel) {
    const SheetLayout& layout = GetParam();
    EXPECT_EQ(Sheet(layout.Entry).At(0, 0), *layout.Key);
}

TEST_P(EverySheet, EveryRectangleTheScreensDrawHoldsVisiblePixels) {
    const SheetLayout& layout = GetParam();
    const Image& image = Sheet(layout.Entry);
    for (const Rect& r : layout.Drawn) {
        ASSERT_TRUE(r.X >= 0 && r.Y >= 0 && r.Right() <= image.Width() && r.Bottom() <= image.Height())
            << Describe(r);
        if (layout.Key) {
            EXPECT_LT(CountKey(image, r, *layout.Key), r.W * r.H) << layout.Entry << " " << Describe(r);
        }
    }
}

TEST_P(KeyedSheet, IsTransparentWhereTheLayoutNeedsIt) {
    const SheetLayout& layout = GetParam();
    const Image& image = Sheet(layout.Entry);
    for (const Rect& r : layout.Clear)
        EXPECT_EQ(CountKey(image, r, *layout.Key), r.W * r.H) << layout.Entry << " " << Describe(r);
}

TEST_P(EverySheet, SurvivesTheSixteenBitDisplayUnchanged) {
    const SheetLayout& layout = GetParam();
    const Image& image = Sheet(layout.Entry);
    int changed = 0, falseKeys = 0;
    for (const Rgb& p : image.Pixels()) {
        changed += ToRgb565(p) == p ? 0 : 1;
        if (layout.Key && !(p == *layout.Key) && Pack565(p) == Pack565(*layout.Key)) ++falseKeys;
    }
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(falseKeys, 0) << "pixels the colour key would remove by accident";
}

std::string EntryName(const testing::TestParamInfo<SheetLayout>& info) {
    std::string name(info.param.Entry);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Graphics, EverySheet, testing::ValuesIn(SheetLayouts()), EntryName);
INSTANTIATE_TEST_SUITE_P(Graphics, KeyedSheet, testing::ValuesIn(KeyedLayouts()), EntryName);

TEST(FontSheets, PrintableGlyphsHaveInkOnATransparentGround) {
    for (std::string_view entry : {"Ank.bmp", "Font16T1.bmp", "Font32T1.bmp", "Font06.bmp"}) {
        const SheetLayout& layout = LayoutOf(entry);
        const Image& image = Sheet(entry);
        for (const Rect& cell : layout.Drawn) {
            const int keyed = CountKey(image, cell, *layout.Key);
            EXPECT_LT(keyed, cell.W * cell.H) << entry << " " << Describe(cell);
            EXPECT_GE(keyed * 8, cell.W * cell.H)
                << entry << " glyph ground not transparent at " << Describe(cell);
        }
    }
}

TEST(FontSheets, ColourBlocksFollowTheGlyphArithmetic) {
    // Colour k of the 16-pixel font starts 4k rows down; a byte above 95 lands in the next block.
    EXPECT_EQ(Font16Cell('A', 2).Y, Font16Cell('A', 0).Y + 128);
    EXPECT_EQ(Font16Cell('a', 0).Y, Font16Cell('!', 1).Y);
    EXPECT_EQ(Font16Cell('a', 0).X, Font16Cell('!', 1).X);
    EXPECT_EQ(Font32Cell('A', 2).Y, Font32Cell('A', 0).Y + 256);
    EXPECT_EQ(Font32Cell(' ', 4).Y, 16 * 32); // the result screen's fifth block
    EXPECT_EQ(AnkCell(255).X, 31 * 8);
    EXPECT_EQ(AnkCell(255).Y, 7 * 16);
    EXPECT_EQ(Font06Cell(255).Y, 15 * 6);
}

TEST(PlaySheets, NotesAndPadsStayInsideTheirLanes) {
    // A note drawn at its lane's left edge must not reach the next lane.
    for (int lane = 0; lane + 1 < LaneCount; ++lane) {
        EXPECT_LE(kLaneX[lane] + NoteInk(lane, 0).W + 1, kLaneX[lane + 1]) << lane;
        EXPECT_LE(kLaneX[lane] - 8 + PadInk(lane, 0).Right() - 64 * lane, kLaneX[lane + 1] + 2) << lane;
    }
}

TEST(Lookup, BackgroundNamesIgnoreCaseAndShareOnePicture) {
    EXPECT_EQ(&LayoutOf("back.bmp"), &LayoutOf("Back.bmp"));
    EXPECT_EQ(&LayoutOf("PAD.BMP"), &LayoutOf("pad.bmp"));
    EXPECT_THROW(LayoutOf("missing.bmp"), std::out_of_range);
}

TEST(Package, AllPicturesTogetherStayWellUnderTheContentBudget) {
    std::size_t total = 0;
    for (const SheetLayout& layout : SheetLayouts())
        total += EncodeBmp565(Sheet(layout.Entry)).size();
    EXPECT_LT(total, 7u * 1024 * 1024);
}

} // namespace
} // namespace tamtara
