// Canvas drawing: text through SDL2_ttf blended onto the surface, rectangles and pictures.
#include "platform/display/SurfaceCanvas.h"

#include "platform/display/DirectDrawSurface.h"
#include "platform/display/FontCatalog.h"
#include "platform/display/Rgb565.h"
#include "platform/display/TextRenderCache.h"

#include <algorithm>

namespace tamtara {

namespace {

TTF_Font* FontOf(const TFont& font) {
    TFontRequest request;
    request.Name = font.Name;
    request.Height = font.Height;
    request.Bold = font.Style.Contains(TFontStyle::fsBold);
    request.Italic = font.Style.Contains(TFontStyle::fsItalic);
    request.Underline = font.Style.Contains(TFontStyle::fsUnderline);
    request.StrikeOut = font.Style.Contains(TFontStyle::fsStrikeOut);
    return TFontCatalog::Instance().Open(request);
}

SDL_Color SdlColor(TColor color) {
    TColor rgb = ColorToRGB(color);
    return SDL_Color{RedOf(rgb), GreenOf(rgb), BlueOf(rgb), 255};
}

} // namespace

std::int32_t TDirectDrawSurfaceCanvas::TextWidth(const std::string& text) {
    if (text.empty()) return 0;
    int w = 0, h = 0;
    if (!TTextRenderCache::Instance().Size(FontOf(Font), text, w, h)) return 0;
    return w;
}

std::int32_t TDirectDrawSurfaceCanvas::TextHeight(const std::string& text) {
    TTF_Font* font = FontOf(Font);
    if (text.empty()) return TTF_FontHeight(font);
    int w = 0, h = 0;
    if (!TTextRenderCache::Instance().Size(font, text, w, h)) return TTF_FontHeight(font);
    return h;
}

void TDirectDrawSurfaceCanvas::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    SDL_Surface* target = Owner.Handle();
    if (!target || text.empty()) return;
    Held = true;
    SDL_Surface* glyphs = TTextRenderCache::Instance().Render(FontOf(Font), SdlColor(Font.Color), text);
    if (!glyphs) return;
    if (Brush.Style == TBrushStyle::bsSolid)
        Owner.FillRect(Bounds(x, y, glyphs->w, glyphs->h), ColorToDevice(Brush.Color));
    SDL_Rect place{x, y, glyphs->w, glyphs->h};
    SDL_BlitSurface(glyphs, nullptr, target, &place);
}

void TDirectDrawSurfaceCanvas::FillRect(const TRect& rect) {
    Held = true;
    if (Brush.Style == TBrushStyle::bsSolid) Owner.FillRect(rect, ColorToDevice(Brush.Color));
}

void TDirectDrawSurfaceCanvas::Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                                         std::int32_t bottom) {
    Held = true;
    if (right <= left || bottom <= top) return;
    if (Pen.Style == TPenStyle::psClear) {
        // Without a pen the interior reaches one pixel further right and down, as in GDI.
        FillRect(TRect{left, top, right, bottom});
        return;
    }
    FillRect(TRect{left + 1, top + 1, right - 1, bottom - 1});
    const std::uint32_t pen = ColorToDevice(Pen.Color);
    Owner.FillRect(TRect{left, top, right, top + 1}, pen);
    Owner.FillRect(TRect{left, bottom - 1, right, bottom}, pen);
    Owner.FillRect(TRect{left, top, left + 1, bottom}, pen);
    Owner.FillRect(TRect{right - 1, top, right, bottom}, pen);
}

void TDirectDrawSurfaceCanvas::Draw(std::int32_t x, std::int32_t y, const TDirectDrawSurface& picture) {
    Held = true;
    Owner.Draw(x, y, TRect{0, 0, picture.Width(), picture.Height()}, picture, false);
}

void TDirectDrawSurfaceCanvas::StretchDraw(const TRect& rect, const TDirectDrawSurface& picture) {
    Held = true;
    SDL_Surface* target = Owner.Handle();
    const SDL_Surface* source = picture.Handle();
    if (!target || !source || rect.Empty()) return;
    const std::int64_t stepX = std::int64_t(source->w) * 65536 / rect.Width();
    const std::int64_t stepY = std::int64_t(source->h) * 65536 / rect.Height();
    const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
    const int right = std::min(rect.Right, target->w), bottom = std::min(rect.Bottom, target->h);
    for (int y = top; y < bottom; ++y) {
        const std::uint16_t* from = rgb565::Row(source, int(((y - std::int64_t(rect.Top)) * stepY) >> 16));
        std::uint16_t* to = rgb565::Row(target, y);
        for (int x = left; x < right; ++x)
            to[x] = from[((x - std::int64_t(rect.Left)) * stepX) >> 16];
    }
}

std::string TDirectDrawSurfaceCanvas::ResolvedFamily() {
    return TFontCatalog::Instance()
        .Resolve(Font.Name, Font.Style.Contains(TFontStyle::fsBold),
                 Font.Style.Contains(TFontStyle::fsItalic))
        .Family;
}

} // namespace tamtara
