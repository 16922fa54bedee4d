// Measures the surface operations the screens use per frame, in ns per pixel and as a ratio
// to an opaque platform blit of the same area timed in the same run.
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/PlatformBlit.h"

#include <chrono>
#include <cstdio>
#include <functional>

using namespace tamtara;

namespace {

// Nanoseconds per call, over enough repetitions to fill about a quarter of a second.
double NsPerCall(const std::function<void()>& work) {
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 20; ++i)
        work();
    long calls = 0;
    auto start = Clock::now();
    std::chrono::nanoseconds spent{};
    do {
        for (int i = 0; i < 50; ++i)
            work();
        calls += 50;
        spent = Clock::now() - start;
    } while (spent < std::chrono::milliseconds(250));
    return double(spent.count()) / double(calls);
}

void Report(const char* name, double ns, double blitNs, double pixels) {
    std::printf("%s_ns_per_px: %.3f\n", name, ns / pixels);
    std::printf("%s_vs_blit: %.2f\n", name, ns / blitNs);
}

void Pattern(TDirectDrawSurface& s, int w, int h) {
    s.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y, std::uint32_t((x * 7 + y * 13) % 11 == 0 ? 0 : x * 31 + y * 17));
    s.SetTransparentColor(0);
}

} // namespace

int main() {
    TDirectDrawSurface screen, sprite, full, logo;
    screen.SetSize(640, 480);
    Pattern(sprite, 64, 64);
    Pattern(full, 640, 480);
    Pattern(logo, 370, 180);

    const TRect sprite64{0, 0, 64, 64};
    double blit64 = NsPerCall([&] { PlatformBlit(screen, 100, 100, sprite64, sprite); });
    Report("draw_key64", NsPerCall([&] { screen.Draw(100, 100, sprite64, sprite, true); }), blit64, 64 * 64);

    const TRect whole{0, 0, 640, 480};
    double blitFull = NsPerCall([&] { PlatformBlit(screen, 0, 0, whole, full); });
    Report("draw_full", NsPerCall([&] { screen.Draw(0, 0, whole, full, false); }), blitFull, 640 * 480);

    // The seven lane stripes of the play screen: x 163 to 477, 391 rows.
    const TRect lanes{163, 0, 477, 391};
    double blitLanes = NsPerCall([&] { PlatformBlit(screen, 163, 0, lanes, full); });
    Report("fill_alpha_lanes", NsPerCall([&] { screen.FillRectAlpha(lanes, ColorRGB(128, 96, 0), 96); }),
           blitLanes, double(lanes.Width()) * lanes.Height());

    Report("draw_add64", NsPerCall([&] {
               screen.DrawAdd(TRect{200, 358, 264, 422}, sprite64, sprite, true, 175);
           }),
           blit64, 64 * 64);

    const TRect logoRect{0, 0, 370, 180};
    double blitLogo = NsPerCall([&] { PlatformBlit(screen, 135, 150, logoRect, logo); });
    int angle = 0;
    Report("draw_rotate", NsPerCall([&] {
               screen.DrawRotate(320, 240, 370, 180, logoRect, logo, 0.5, 0.5, false, angle++);
           }),
           blitLogo, 370 * 180);
    return 0;
}
