// System fonts by family name: fontconfig (with aliases for the Windows family names the
// screens ask for) resolves the file, SDL2_ttf opens it at the asked pixel height; open fonts
// are cached for the program's lifetime (platform-internal).
#pragma once

#include <SDL_ttf.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace tamtara {

struct TFontRequest {
    std::string Name;
    // Negative: character (em) height in pixels; positive: cell height; 0: a default size.
    int Height = -12;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    auto Key() const { return std::tie(Name, Height, Bold, Italic, Underline, StrikeOut); }
    bool operator<(const TFontRequest& other) const { return Key() < other.Key(); }
};

struct TResolvedFont {
    std::string File;
    int Index = 0;
    std::string Family;
    bool HasBold = false;
    bool HasItalic = false;
};

class TFontCatalog {
public:
    static TFontCatalog& Instance();
    ~TFontCatalog();

    // The font for request; raises EDirectDrawError when no font at all can be opened.
    TTF_Font* Open(const TFontRequest& request);
    // The family a name resolves to (after the alias), as fontconfig reports it.
    TResolvedFont Resolve(const std::string& name, bool bold, bool italic);
    // The family a Windows name is aliased to, or the name itself.
    static std::string ExpectedFamily(const std::string& name);

private:
    TFontCatalog();
    int CellToEm(const TResolvedFont& font, int cellHeight);

    struct TTtfCloser {
        void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
    };
    struct TConfigCloser {
        void operator()(void* config) const;
    };
    std::unique_ptr<void, TConfigCloser> Config;
    std::map<TFontRequest, std::unique_ptr<TTF_Font, TTtfCloser>> Fonts;
    std::map<std::string, double> CellRatios; // cell height per em, by file
    std::map<std::string, bool> Warned;
};

} // namespace tamtara
