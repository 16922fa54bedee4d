// The two package files of the game folder and the instrument names read from one of them.
#pragma once

#include "resources/PackageFile.h"

#include <string>
#include <vector>

namespace tamtara {

struct GamePackages {
    static constexpr const char* GraphicsPackageName = "Graphics.pb";
    static constexpr const char* DataPackageName = "Data.pb";
    static constexpr const char* InstrumentNamesEntry = "InstName.txt";

    // Opens both from the current directory, the game folder, and reads the instrument names.
    // Raises EGameStartError naming the package file or entry that is missing.
    void Open();

    TReadPackageFile GraphicsPackage;
    TReadPackageFile DataPackage;
    std::vector<std::string> InstrumentNames;
};

} // namespace tamtara
