// artgen: draws every picture of Graphics.pb into a folder, as bitmaps for the package or as
// PNG files to look at.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "BmpWriter.h"
#include "Catalogue.h"
#include "base/PngWriter.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: artgen OUTDIR            write every sheet as a BMP\n"
                         "       artgen --contact-sheet OUTDIR   write every sheet as a PNG\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    bool png = false;
    std::string outDir;
    if (argc == 2) {
        outDir = argv[1];
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
