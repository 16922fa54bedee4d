// pbpack: builds, lists and extracts the game's package files.
//   pbpack create OUT.pb FILE...     entries named by the files' base names, in the given order
//   pbpack list PKG                  one line per record: name, offset, size
//   pbpack extract PKG NAME [OUT]    the entry's bytes to OUT, or to stdout without OUT
#include "base/UserMessage.h"
#include "resources/PackageError.h"
#include "resources/PackageFile.h"
#include "resources/PackageWriter.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tamtara;

namespace {

int Usage() {
    std::cerr << "usage: pbpack create OUT.pb FILE...\n"
                 "       pbpack list PKG\n"
                 "       pbpack extract PKG NAME [OUT]\n";
    return 2;
}

int Create(const std::string& out, const std::vector<std::string>& files) {
    std::vector<PackageSource> entries;
    for (const std::string& file : files)
        entries.push_back({std::filesystem::path(file).filename().string(), ReadFileBytes(file)});
    WritePackage(out, entries);
    return 0;
}

// Opens the package or explains why not; the reader itself stays silent about missing files.
bool Open(TReadPackageFile& reader, const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) {
        std::cerr << "pbpack: cannot open \"" << path << "\"\n";
        return false;
    }
    reader.OpenFile(path);
    return reader.IsOpen();
}

int List(const std::string& path) {
    TReadPackageFile reader;
    if (!Open(reader, path)) return 1;
    for (int i = 0; i < reader.EntryCount(); ++i) {
        const PackageEntry& entry = reader.Entries()[static_cast<std::size_t>(i)];
        std::cout << entry.Name << '\t' << entry.Offset << '\t' << entry.Size << '\n';
    }
    return 0;
}

int Extract(const std::string& path, const std::string& name, const std::string& out) {
    TReadPackageFile reader;
    if (!Open(reader, path)) return 1;
    std::unique_ptr<TMemoryStream> entry = reader.ReadEntry(name);
    if (!entry) {
        std::cerr << "pbpack: no entry \"" << name << "\" in \"" << path << "\"\n";
        return 1;
    }
    const std::vector<std::uint8_t>& bytes = entry->Data();
    if (out.empty()) {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    TFileStream file(out, FileMode::Create);
    file.WriteBuffer(bytes.data(), bytes.size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    SetUserMessageHandler([](MessageKind, const std::string&, const std::string& text) {
        std::cerr << "pbpack: " << text << '\n';
    });
    try {
        if (args.size() >= 2 && args[0] == "create")
            return Create(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
        if (args.size() == 2 && args[0] == "list") return List(args[1]);
        if ((args.size() == 3 || args.size() == 4) && args[0] == "extract")
            return Extract(args[1], args[2], args.size() == 4 ? args[3] : std::string());
        return Usage();
    } catch (const std::exception& error) {
        std::cerr << "pbpack: " << error.what() << '\n';
        return 1;
    }
}
