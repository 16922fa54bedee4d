// The shadowed menu text line.
#include "app/graphics/ShadowText.h"

#include "app/graphics/FittedText.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/SurfaceCanvas.h"

namespace tamtara {

void DrawShadowedLine(TDirectDrawSurface& back, std::int32_t centreX, std::int32_t y, const std::string& text,
                      TColor colour, std::int32_t height, std::int32_t maxWidth) {
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    canvas.Font.Charset = SHIFTJIS_CHARSET;
    canvas.Font.Height = -height;
    canvas.Font.Style = TFontStyles{TFontStyle::fsBold};
    const std::string shown = maxWidth > 0 ? FitText(canvas, text, maxWidth) : text;
    const std::int32_t w = canvas.TextWidth(shown);
    canvas.Font.Color = clBlack;
    canvas.TextOut(centreX + 1 - w / 2, y + 1, shown);
    canvas.Font.Color = colour;
    canvas.TextOut(centreX - w / 2, y, shown);
    back.ReleaseCanvas();
}

} // namespace tamtara
