// Rendered canvas text kept between frames: the screens redraw the same titles and labels every
// frame, and shaping and rasterising them costs far more than blitting the result
// (platform-internal).
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace tamtara {

class TTextRenderCache {
public:
    // Open fonts live as long as the program (TFontCatalog), so a font's address names it.
    static TTextRenderCache& Instance();

    // The blended rendering of text (UTF-8, not empty) in font and colour; owned by the cache,
    // valid until the next call. Null when the font cannot render it.
    SDL_Surface* Render(TTF_Font* font, SDL_Color colour, const std::string& text);
    // Size of text in font; false when the font cannot measure it.
    bool Size(TTF_Font* font, const std::string& text, int& width, int& height);

    // Pixel bytes of the renderings kept; the oldest are dropped beyond the budget.
    std::size_t Bytes() const { return HeldBytes; }
    void SetBudget(std::size_t bytes);
    void Clear();

private:
    struct TSurfaceFree {
        void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
    };
    struct TEntry {
        std::string Key;
        std::unique_ptr<SDL_Surface, TSurfaceFree> Surface;
        std::size_t Bytes = 0;
    };
    struct TSize {
        int Width = 0;
        int Height = 0;
    };
    static std::string KeyOf(TTF_Font* font, std::uint32_t colour, const std::string& text);
    void Trim();

    std::size_t Budget = 24u << 20;
    std::size_t HeldBytes = 0;
    // Most recently used first.
    std::list<TEntry> Entries;
    std::unordered_map<std::string, std::list<TEntry>::iterator> Index;
    std::unordered_map<std::string, TSize> Sizes;
};

} // namespace tamtara
