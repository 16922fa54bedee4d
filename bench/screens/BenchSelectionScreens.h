// Frame times of the song selection screens (folder, disc, mode, part) with a large library.
#pragma once

#include <string>

namespace tamtara::bench {

// Prints "<screen>_frame_p50_ms" and "<screen>_frame_p99_ms" for folder, disc, mode and part.
// With shotFolder set, also saves a picture of each screen there.
void BenchSelectionScreens(const std::string& shotFolder);

} // namespace tamtara::bench
