// artgen: draws every picture of Graphics.pb into a folder, as bitmaps for the package or as
// PNG files to look at.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "BmpWriter.h"
#include "Catalogue.h"
#include "Icon.h"
#include "base/PngWriter.h"

namespace {

// The desktop icon at the sizes the icon theme asks for, in the theme's folder layout.
int WriteIcons(const std::string& outDir) {
    for (const int size : {48, 128, 256}) {
        const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(outDir) / sizeName / "apps";
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        const tamtara::Image icon = tamtara::DrawIcon(size);
        std::string error;
        if (!tamtara::WritePng((folder / "tamtara.png").string(), size, size, icon.ToRgbBytes(), &error)) {
            std::fprintf(stderr, "artgen: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}

int Usage() {
    std::fprintf(
        stderr,
        "usage: artgen OUTDIR            write every sheet as a BMP\n"
        "       artgen --contact-sheet OUTDIR   write every sheet as a PNG\n"
        "       artgen --icons OUTDIR   write the program's icons as OUTDIR/SIZExSIZE/apps/tamtara.png\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    bool png = false;
    std::string outDir;
    if (argc == 2) {
        outDir = argv[1];
    } else if (argc == 3 && std::string(argv[1]) == "--icons") {
        return WriteIcons(argv[2]);
    } else if (argc == 3 && std::string(argv[1]) == "--contact-sheet") {
        png = true;
        outDir = argv[2];
    } else {
        return Usage();
    }
    try {
        std::filesystem::create_directories(outDir);
        for (const tamtara::SheetLayout& layout : tamtara::SheetLayouts()) {
            const tamtara::Image image = tamtara::RenderSheet(layout.Entry);
            std::string error;
            std::filesystem::path path = std::filesystem::path(outDir) / std::string(layout.Entry);
            bool ok;
            if (png) {
                path.replace_extension(".png");
                ok = tamtara::WritePng(path.string(), image.Width(), image.Height(), image.ToRgbBytes(),
                                       &error);
            } else {
                ok = tamtara::WriteBmp565(path.string(), image, &error);
            }
            if (!ok) {
                std::fprintf(stderr, "artgen: %s\n", error.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
