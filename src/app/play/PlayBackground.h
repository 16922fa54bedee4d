// Composition of the play screen's background (song picture, lane stripes, skin) and of the
// scrolling title strip, once per entry into play or display restore.
#pragma once

#include "app/graphics/ScreenSurfaces.h"

#include <functional>
#include <string>

namespace tamtara {

// What the play background is made of.
struct PlayPicture {
    std::string SongFile;  // the song's path; its .bmp or .jpg twin is the picture
    std::string SongTitle; // the song's own bytes, decoded for the title strip
    // Told when the picture is there but cannot be shown; empty: stderr is told instead.
    std::function<void(const std::string& picturePath, const std::string& reason)> OnPictureRefused = nullptr;
};

// The song's picture beside it: the ".bmp" twin, else the ".jpg" one, else empty.
std::string SongPicturePath(const std::string& songFile);

// Song pictures come from anywhere; a larger file is refused before it is read.
constexpr std::int64_t MaxSongPictureBytes = 32LL * 1024 * 1024;

// Reads a song picture (".bmp" as a bitmap, anything else as a JPEG) into picture, keeping the
// part that the centred 640 x 480 background shows. Raises EInvalidGraphic for a picture that is
// broken, too large (file over MaxSongPictureBytes, more pixels than the decoders take, or
// needing more decoder memory than they allow), and EStreamError when it cannot be opened.
void LoadSongPicture(const std::string& path, TDirectDrawSurface& picture);

// The strip shows the song's title, or its file name when it has none.
void ComposePlayBackground(TReadPackageFile& package, ScreenSurfaces& surfaces, const PlayPicture& song);
void ComposeTitleStrip(TDirectDrawSurface& strip, const std::string& title);

} // namespace tamtara
