// Opening the two package files and reading the instrument names at window creation; the
// window cannot run without them, so a missing one stops it with the file's name.
#include "app/GamePackages.h"

#include "app/GameStartError.h"

#include <filesystem>

namespace tamtara {

namespace {

std::string InFolder(const char* name) {
    std::error_code error;
    const auto folder = std::filesystem::current_path(error);
    return error ? std::string(name) : (folder / name).string();
}

void OpenRequired(TReadPackageFile& package, const char* fileName) {
    package.OpenFile(fileName);
    if (!package.IsOpen()) {
        throw EGameStartError("The package file \"" + InFolder(fileName) +
                              "\" is missing or is not a package file.");
    }
}

} // namespace

void GamePackages::Open() {
    OpenRequired(GraphicsPackage, GraphicsPackageName);
    OpenRequired(DataPackage, DataPackageName);
    const auto names = DataPackage.ReadEntry(InstrumentNamesEntry);
    if (!names) {
        throw EGameStartError(std::string("The entry \"") + InstrumentNamesEntry +
                              "\" is missing from the package file \"" + InFolder(DataPackageName) + "\".");
    }
    InstrumentNames = names->Lines();
}

} // namespace tamtara
