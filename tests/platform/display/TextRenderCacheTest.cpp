// Cached canvas text: drawing from the cache gives the same pixels as a fresh rendering, colours
// and fonts are told apart, and the byte budget holds.
#include "platform/display/TextRenderCache.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/FontCatalog.h"
#include "platform/display/SurfaceCanvas.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

std::vector<std::uint8_t> Drawn(const std::string& text, TColor colour, std::int32_t height) {
    TDirectDrawSurface s;
    s.SetSize(400, 40);
    s.Fill(0);
    TDirectDrawSurfaceCanvas& canvas = s.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    canvas.Font.Height = height;
    canvas.Font.Color = colour;
    canvas.TextOut(3, 2, text);
    s.ReleaseCanvas();
    return s.ToRgb();
}

// The same text rendered by SDL2_ttf in its colour and blitted, without the cache.
std::vector<std::uint8_t> RenderedDirectly(const std::string& text, SDL_Color colour) {
    TDirectDrawSurface s;
    s.SetSize(400, 40);
    s.Fill(0);
    TFontRequest request;
    request.Name = "ＭＳ Ｐゴシック";
    request.Height = -24;
    SDL_Surface* glyphs =
        TTF_RenderUTF8_Blended(TFontCatalog::Instance().Open(request), text.c_str(), colour);
    SDL_SetSurfaceBlendMode(glyphs, SDL_BLENDMODE_BLEND);
    SDL_Rect place{3, 2, glyphs->w, glyphs->h};
    SDL_BlitSurface(glyphs, nullptr, s.Handle(), &place);
    SDL_FreeSurface(glyphs);
    return s.ToRgb();
}

TEST(TextRenderCache, CachedDrawingMatchesAFreshRenderingAndKeysColourAndFont) {
    TTextRenderCache& cache = TTextRenderCache::Instance();
    cache.Clear();
    const std::vector<std::uint8_t> fresh = Drawn("ドラムの練習曲 Title", clRed, -24);
    EXPECT_EQ(fresh, RenderedDirectly("ドラムの練習曲 Title", SDL_Color{255, 0, 0, 255}));
    const std::size_t held = cache.Bytes();
    EXPECT_GT(held, 0u);
    EXPECT_EQ(Drawn("ドラムの練習曲 Title", clRed, -24), fresh);
    EXPECT_EQ(cache.Bytes(), held); // drawn from the cache, nothing added
    // Each colour is a rendering of its own, exactly as SDL2_ttf gives it.
    EXPECT_EQ(Drawn("ドラムの練習曲 Title", clAqua, -24),
              RenderedDirectly("ドラムの練習曲 Title", SDL_Color{0, 255, 255, 255}));
    EXPECT_NE(Drawn("ドラムの練習曲 Title", clRed, -22), fresh);
    cache.Clear();
    EXPECT_EQ(Drawn("ドラムの練習曲 Title", clRed, -24), fresh);
}

TEST(TextRenderCache, OldestRenderingsGoBeyondTheBudget) {
    TTextRenderCache& cache = TTextRenderCache::Instance();
    cache.Clear();
    Drawn("first", clWhite, -24);
    const std::size_t one = cache.Bytes();
    cache.SetBudget(one * 2);
    for (int i = 0; i < 50; ++i)
        Drawn("text " + std::to_string(i), clWhite, -24);
    EXPECT_LE(cache.Bytes(), one * 3);
    // What was dropped renders again, the same as before.
    EXPECT_EQ(Drawn("first", clWhite, -24), Drawn("first", clWhite, -24));
    cache.SetBudget(24u << 20);
    cache.Clear();
}

} // namespace
} // namespace tamtara
