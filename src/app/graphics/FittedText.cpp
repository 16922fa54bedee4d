// Cutting and wrapping by measured width; every cut falls between two UTF-8 characters.
#include "app/graphics/FittedText.h"

#include "platform/display/SurfaceCanvas.h"
#include "platform/text/SongText.h"

#include <algorithm>
#include <string_view>

namespace tamtara {

namespace {

// The byte offsets where the characters of text end (a stray byte counts as one character).
std::vector<std::size_t> CharacterEnds(std::string_view text) {
    std::vector<std::size_t> ends;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text.substr(at));
        at += length == 0 ? 1 : length;
        ends.push_back(at);
    }
    return ends;
}

std::int32_t Width(TDirectDrawSurfaceCanvas& canvas, const std::string& text) {
    return text.empty() ? 0 : canvas.TextWidth(text);
}

// How many characters of text, each ending at ends[i], fit maxWidth with suffix after them.
std::size_t FittingCharacters(TDirectDrawSurfaceCanvas& canvas, const std::string& text,
                              const std::vector<std::size_t>& ends, std::int32_t maxWidth,
                              const std::string& suffix) {
    std::size_t low = 0;
    std::size_t high = ends.size();
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (Width(canvas, text.substr(0, ends[middle - 1]) + suffix) <= maxWidth)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

std::string TrimEnd(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

std::string FitText(TDirectDrawSurfaceCanvas& canvas, const std::string& text, std::int32_t maxWidth) {
    if (Width(canvas, text) <= maxWidth) return text;
    const std::vector<std::size_t> ends = CharacterEnds(text);
    const std::size_t count = FittingCharacters(canvas, text, ends, maxWidth, Ellipsis);
    return TrimEnd(count == 0 ? std::string() : text.substr(0, ends[count - 1])) + Ellipsis;
}

std::vector<std::string> WrapText(TDirectDrawSurfaceCanvas& canvas, const std::string& text,
                                  std::int32_t maxWidth, std::size_t maxLines) {
    std::vector<std::string> lines;
    std::string rest = text;
    while (!rest.empty() && lines.size() < maxLines) {
        if (lines.size() + 1 == maxLines || Width(canvas, rest) <= maxWidth) {
            lines.push_back(FitText(canvas, rest, maxWidth));
            break;
        }
        const std::vector<std::size_t> ends = CharacterEnds(rest);
        // At least one character a line, however narrow the width.
        std::size_t cut =
            ends[std::max<std::size_t>(FittingCharacters(canvas, rest, ends, maxWidth, ""), 1) - 1];
        const std::size_t gap = rest.find_last_of(" /", cut - 1);
        if (gap != std::string::npos && gap + 1 > cut / 2) cut = gap + 1;
        lines.push_back(TrimEnd(rest.substr(0, cut)));
        rest = rest.substr(cut);
        while (!rest.empty() && rest.front() == ' ')
            rest.erase(0, 1);
    }
    return lines;
}

} // namespace tamtara
