// Feeds arbitrary bytes to the package reader as a package file: opening must fail quietly or
// give a directory whose every entry can be looked up, sought and copied without reading
// outside the data.
#include "base/Stream.h"
#include "base/UserMessage.h"
#include "resources/PackageError.h"
#include "resources/PackageFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tamtara;
    // A bad header warns the player; here that is expected and would only flood the output.
    static const bool quiet =
        (SetUserMessageHandler([](MessageKind, const std::string&, const std::string&) {}), true);
    (void)quiet;
    TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    TReadPackageFile package;
    package.OpenStream(stream);
    if (!package.IsOpen()) return 0;
    if (package.EntryCount() < 0 || std::size_t(package.EntryCount()) > package.Entries().size())
        std::abort();
    // Every lookup walks the whole directory (up to 32767 records), as the game's few lookups
    // do: a sample of entries keeps each run short.
    const int count = package.EntryCount();
    for (int i = 0; i < count; i = i < 16 ? i + 1 : std::max(i + 1, count - 16)) {
        const std::string name = package.Entries()[std::size_t(i)].Name;
        if (package.FindEntry(name) < i) std::abort();
        try {
            const std::unique_ptr<TMemoryStream> entry = package.ReadEntry(name);
            if (!entry || entry->Size() > std::int64_t(size)) std::abort();
            TStream* at = package.SeekEntry(name);
            if (!at || at->Position() > std::int64_t(size)) std::abort();
        } catch (const EPackageError&) {
        }
    }
    return 0;
}
