// The text rendering cache: least recently used renderings dropped beyond a byte budget.
#include "platform/display/TextRenderCache.h"

#include <cstring>

namespace tamtara {

namespace {

// Measured sizes are small; past this many the table simply starts again.
constexpr std::size_t MaxSizes = 8192;

} // namespace

TTextRenderCache& TTextRenderCache::Instance() {
    static TTextRenderCache cache;
    return cache;
}

std::string TTextRenderCache::KeyOf(TTF_Font* font, std::uint32_t colour, const std::string& text) {
    std::string key(sizeof font + sizeof colour, '\0');
    std::memcpy(key.data(), &font, sizeof font);
    std::memcpy(key.data() + sizeof font, &colour, sizeof colour);
    return key + text;
}

SDL_Surface* TTextRenderCache::Render(TTF_Font* font, SDL_Color colour, const std::string& text) {
    const std::uint32_t rgba = std::uint32_t(colour.r) | std::uint32_t(colour.g) << 8 |
                               std::uint32_t(colour.b) << 16 | std::uint32_t(colour.a) << 24;
    std::string key = KeyOf(font, rgba, text);
    if (const auto found = Index.find(key); found != Index.end()) {
        Entries.splice(Entries.begin(), Entries, found->second);
        return found->second->Surface.get();
    }
    std::unique_ptr<SDL_Surface, TSurfaceFree> rendered(TTF_RenderUTF8_Blended(font, text.c_str(), colour));
    if (!rendered) return nullptr;
    SDL_SetSurfaceBlendMode(rendered.get(), SDL_BLENDMODE_BLEND);
    const std::size_t bytes = std::size_t(rendered->pitch) * std::size_t(rendered->h);
    Entries.push_front(TEntry{key, std::move(rendered), bytes});
    Index.emplace(std::move(key), Entries.begin());
    HeldBytes += bytes;
    SDL_Surface* surface = Entries.front().Surface.get();
    Trim();
    return surface;
}

bool TTextRenderCache::Size(TTF_Font* font, const std::string& text, int& width, int& height) {
    std::string key = KeyOf(font, 0, text);
    if (const auto found = Sizes.find(key); found != Sizes.end()) {
        width = found->second.Width;
        height = found->second.Height;
        return true;
    }
    if (TTF_SizeUTF8(font, text.c_str(), &width, &height) != 0) return false;
    if (Sizes.size() >= MaxSizes) Sizes.clear();
    Sizes.emplace(std::move(key), TSize{width, height});
    return true;
}

void TTextRenderCache::SetBudget(std::size_t bytes) {
    Budget = bytes;
    Trim();
}

void TTextRenderCache::Clear() {
    Index.clear();
    Entries.clear();
    Sizes.clear();
    HeldBytes = 0;
}

void TTextRenderCache::Trim() {
    // The newest rendering stays even when it alone exceeds the budget: the caller is using it.
    while (HeldBytes > Budget && Entries.size() > 1) {
        HeldBytes -= Entries.back().Bytes;
        Index.erase(Entries.back().Key);
        Entries.pop_back();
    }
}

} // namespace tamtara
