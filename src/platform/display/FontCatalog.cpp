// Font lookup through fontconfig and SDL2_ttf.
#include "platform/display/FontCatalog.h"
#include "platform/display/FontAliases.h"

#include "platform/display/DisplayTypes.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <strings.h>

namespace tamtara {

namespace {

struct TAlias {
    const char* Name;
    const char* Family;
};
// fontconfig ships no aliases for the Japanese Windows faces; Liberation's metric aliases
// cover the Latin ones, repeated here so the check below knows what to expect.
constexpr TAlias Aliases[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic"},       {"MS PGothic", "IPAPGothic"},
    {"ＭＳ ゴシック", "IPAGothic"},          {"MS Gothic", "IPAGothic"},
    {"Times New Roman", "Liberation Serif"}, {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
};

std::string AliasXml() {
    std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>";
    for (const TAlias& alias : Aliases)
        xml += std::string("<alias binding=\"same\"><family>") + alias.Name + "</family><accept><family>" +
               alias.Family + "</family></accept></alias>";
    return xml + "</fontconfig>";
}

} // namespace

void RegisterFontAliases() {
    if (!FcInit()) return;
    const std::string xml = AliasXml();
    FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(xml.c_str()),
                                   FcFalse);
}

std::string AliasedFamily(const std::string& name) {
    return TFontCatalog::ExpectedFamily(name);
}

void TFontCatalog::TConfigCloser::operator()(void* config) const {
    FcConfigDestroy(static_cast<FcConfig*>(config));
}

TFontCatalog& TFontCatalog::Instance() {
    static TFontCatalog catalog;
    return catalog;
}

TFontCatalog::TFontCatalog() {
    if (!TTF_WasInit() && TTF_Init() != 0)
        throw EDirectDrawError("cannot start the font renderer", TTF_GetError());
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config) {
        std::string xml = AliasXml();
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcFalse);
    }
    Config.reset(config);
}

TFontCatalog::~TFontCatalog() {
    Fonts.clear();
    TTF_Quit();
}

std::string TFontCatalog::ExpectedFamily(const std::string& name) {
    for (const TAlias& alias : Aliases)
        if (name == alias.Name) return alias.Family;
    return name;
}

TResolvedFont TFontCatalog::Resolve(const std::string& name, bool bold, bool italic) {
    TResolvedFont result;
    auto* config = static_cast<FcConfig*>(Config.get());
    if (!config) return result;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult status;
    FcPattern* match = FcFontMatch(config, pattern, &status);
    FcPatternDestroy(pattern);
    if (!match) return result;
    FcChar8* text = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &text) == FcResultMatch)
        result.File = reinterpret_cast<char*>(text);
    if (FcPatternGetString(match, FC_FAMILY, 0, &text) == FcResultMatch)
        result.Family = reinterpret_cast<char*>(text);
    int value = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &value) == FcResultMatch) result.Index = value;
    if (FcPatternGetInteger(match, FC_WEIGHT, 0, &value) == FcResultMatch)
        result.HasBold = value >= FC_WEIGHT_DEMIBOLD;
    if (FcPatternGetInteger(match, FC_SLANT, 0, &value) == FcResultMatch)
        result.HasItalic = value != FC_SLANT_ROMAN;
    FcPatternDestroy(match);
    return result;
}

int TFontCatalog::CellToEm(const TResolvedFont& font, int cellHeight) {
    auto found = CellRatios.find(font.File);
    if (found == CellRatios.end()) {
        double ratio = 1.15;
        if (TTF_Font* probe = TTF_OpenFontIndex(font.File.c_str(), 100, font.Index)) {
            ratio = (TTF_FontAscent(probe) - TTF_FontDescent(probe)) / 100.0;
            TTF_CloseFont(probe);
        }
        found = CellRatios.emplace(font.File, ratio > 0.5 ? ratio : 1.15).first;
    }
    return std::max(1, int(std::lround(cellHeight / found->second)));
}

TTF_Font* TFontCatalog::Open(const TFontRequest& request) {
    auto cached = Fonts.find(request);
    if (cached != Fonts.end()) return cached->second.get();

    TResolvedFont font = Resolve(request.Name, request.Bold, request.Italic);
    if (font.File.empty())
        throw EDirectDrawError("cannot open a font", "fontconfig found no font for \"" + request.Name + "\"");
    const std::string expected = ExpectedFamily(request.Name);
    if (strcasecmp(font.Family.c_str(), expected.c_str()) != 0 && !Warned[request.Name]) {
        // fontconfig always answers with something; say so once rather than draw silently.
        std::fprintf(stderr, "tamtara: font \"%s\" is not installed; drawing with \"%s\"\n",
                     request.Name.c_str(), font.Family.c_str());
        Warned[request.Name] = true;
    }
    int em = request.Height < 0 ? -request.Height : request.Height > 0 ? CellToEm(font, request.Height) : 12;
    TTF_Font* opened = TTF_OpenFontIndex(font.File.c_str(), em, font.Index);
    if (!opened) throw EDirectDrawError("cannot open a font", font.File + ": " + TTF_GetError());
    int style = TTF_STYLE_NORMAL;
    // Faces without a bold or italic cut are emboldened or slanted by the renderer.
    if (request.Bold && !font.HasBold) style |= TTF_STYLE_BOLD;
    if (request.Italic && !font.HasItalic) style |= TTF_STYLE_ITALIC;
    if (request.Underline) style |= TTF_STYLE_UNDERLINE;
    if (request.StrikeOut) style |= TTF_STYLE_STRIKETHROUGH;
    TTF_SetFontStyle(opened, style);
    TTF_SetFontHinting(opened, TTF_HINTING_LIGHT);
    return Fonts.emplace(request, std::unique_ptr<TTF_Font, TTtfCloser>(opened)).first->second.get();
}

} // namespace tamtara
