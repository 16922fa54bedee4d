// Looks for a GM SoundFont in the paths Debian's SoundFont packages install to.
#include "platform/midi/SoundFontLocator.h"

#include <unistd.h>

#include <mutex>

namespace tamtara {

const std::vector<std::string>& GmSoundFontCandidates() {
    static const std::vector<std::string> candidates = {
        "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/soundfonts/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/soundfonts/default.sf2",    "/usr/share/sounds/sf3/default-GM.sf3",
    };
    return candidates;
}

namespace {

std::mutex PreferredLock;
std::string Preferred;

} // namespace

void SetPreferredSoundFont(const std::string& path) {
    const std::lock_guard<std::mutex> lock(PreferredLock);
    Preferred = path;
}

std::string FindGmSoundFont() {
    {
        const std::lock_guard<std::mutex> lock(PreferredLock);
        if (!Preferred.empty() && ::access(Preferred.c_str(), R_OK) == 0) return Preferred;
    }
    for (const std::string& path : GmSoundFontCandidates()) {
        // access() follows the alternatives symlink, so a dangling default-GM link is skipped.
        if (::access(path.c_str(), R_OK) == 0) {
            return path;
        }
    }
    return {};
}

} // namespace tamtara
