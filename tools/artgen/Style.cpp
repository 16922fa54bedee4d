// Drawing of the pieces every screen shares.
#include "Style.h"

#include <cmath>

namespace tamtara {

void DrawBackdrop(Image& image) {
    const int w = image.Width(), h = image.Height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb c = Mix(Palette::Night, Palette::Navy, double(y) / h);
            // Faint diagonal bands give the dark field some texture without fighting the text on it.
            if (((x + y) / 12) % 2 == 0) c = Scale(c, 1.12);
            const double dx = (x - w / 2.0) / w, dy = (y - h / 2.0) / h;
            const double glow = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) * 2.2);
            c = Mix(c, Palette::NavyLight, 0.35 * glow);
            image.Set(x, y, c);
        }
    // A fine grid of points, like the perforation of a speaker cover.
    for (int y = 6; y < h; y += 16)
        for (int x = 6; x < w; x += 16)
            image.Blend(x, y, Palette::NavyLight, 0.8);
}

void DrawHeaderBar(Image& image, Rect r, std::string_view title) {
    image.VerticalGradient({r.X, r.Y, r.W, r.H - 6}, Palette::SilverTop, Palette::SilverBottom);
    for (int x = r.X; x < r.Right(); x += 3)
        image.Fill({x, r.Y + 2, 1, r.H - 10}, Scale(image.At(x, r.Y + 20), 0.97));
    image.Fill({r.X, r.Bottom() - 6, r.W, 4}, Palette::Cyan);
    image.Fill({r.X, r.Bottom() - 2, r.W, 2}, Palette::Ink);
    image.Fill({r.X, r.Y, r.W, 1}, Rgb{255, 255, 255});
    // Chevrons on the right point the way through the menus.
    for (int i = 0; i < 5; ++i) {
        const double x0 = r.Right() - 150 + 26.0 * i, yc = r.Y + 25;
        image.Polygon(
            {x0, yc - 14, x0 + 12, yc - 14, x0 + 26, yc, x0 + 12, yc + 14, x0, yc + 14, x0 + 14, yc},
            Mix(Palette::Cyan, Palette::Navy, 0.15 * (4 - i)));
    }
    FontFace face(Fonts::SansBoldItalic);
    face.SetPixelSize(30, 30);
    TextStyle style{Palette::NavyLight, Palette::Ink, Rgb{255, 255, 255}, 1.5, 2, 2, Palette::Steel, 0.5, 0};
    DrawTextLeft(image, face, title, r.X + 24, r.Y + 24, style, 2);
}

void DrawFooterBar(Image& image, Rect r) {
    image.Fill({r.X, r.Y, r.W, 2}, Palette::Ink);
    image.Fill({r.X, r.Y + 2, r.W, 4}, Palette::Cyan);
    image.VerticalGradient({r.X, r.Y + 6, r.W, r.H - 6}, Palette::SilverTop, Palette::SilverBottom);
    for (int x = r.X; x < r.Right(); x += 3)
        image.Fill({x, r.Y + 8, 1, r.H - 10}, Scale(image.At(x, r.Y + 24), 0.97));
}

void DrawPlate(Image& image, Rect r, Rgb face, bool lit) {
    const double radius = std::min(r.H, r.W) / 4.0;
    image.RoundedRect(r, radius, lit ? Rgb{255, 255, 255} : Palette::SilverBottom);
    const Rect inner{r.X + 3, r.Y + 3, r.W - 6, r.H - 6};
    const Rgb top = lit ? Mix(face, Rgb{255, 255, 255}, 0.45) : Scale(face, 0.8);
    const Rgb bottom = lit ? face : Scale(face, 0.35);
    image.RoundedGradient(inner, radius - 2, top, bottom);
    // A glossy upper half, the way a lit acrylic button catches the light.
    image.RoundedRect({inner.X + 4, inner.Y + 2, inner.W - 8, inner.H / 2 - 2}, radius - 3,
                      Rgb{255, 255, 255}, lit ? 0.28 : 0.12);
}

void KeyOutCanvas(Image& image) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y) == Palette::Canvas) image.Set(x, y, kMagentaKey);
}

Image MenuBars(std::string_view title) {
    Image image(640, 112, Palette::Ink);
    DrawHeaderBar(image, {0, 0, 640, 56}, title);
    DrawFooterBar(image, {0, 64, 640, 48});
    return image;
}

} // namespace tamtara
