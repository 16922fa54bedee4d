// Text that has to stay inside a width on screen: cut short with "…", or broken into lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

class TDirectDrawSurfaceCanvas;

// What ends a text that was cut short.
inline constexpr const char* Ellipsis = "…";

// text (UTF-8) as it is when it fits maxWidth pixels in the canvas's current font; otherwise
// its longest start of whole characters that fits with "…" after it (just "…" when nothing
// does).
std::string FitText(TDirectDrawSurfaceCanvas& canvas, const std::string& text, std::int32_t maxWidth);

// text broken into at most maxLines lines no wider than maxWidth: at the last space or "/" of a
// line when one lies in its second half, else between two characters (Japanese has no spaces).
// The last line is cut with "…" when the text goes on past it.
std::vector<std::string> WrapText(TDirectDrawSurfaceCanvas& canvas, const std::string& text,
                                  std::int32_t maxWidth, std::size_t maxLines);

} // namespace tamtara
