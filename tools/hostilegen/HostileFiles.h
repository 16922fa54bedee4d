// Hostile inputs built on demand for tests, benchmarks and the player's own checks: huge songs of
// one-byte events and tiny JPEG files that declare enormous or endlessly refined pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tamtara::hostile {

// A valid one-track MIDI file of exactly fileBytes bytes (at least 24) in which every byte after
// the first event is one more event: delta 0, then a data byte under the running status 0xFE,
// which takes no data bytes, so the byte is read again as the next delta.
std::vector<std::uint8_t> OneByteEventSong(std::size_t fileBytes);

// A progressive JPEG that encodes a 16 x 16 picture but declares width x height: decoders that
// trust the header allocate buffers for the declared size. With fullChroma the colour planes are
// not subsampled, so they cost as much as the brightness plane.
std::vector<std::uint8_t> JpegBomb(std::uint16_t width, std::uint16_t height, bool fullChroma = false);

// A small, valid progressive JPEG with one scan per coefficient per component: 190 scans.
std::vector<std::uint8_t> ManyScanJpeg(int width, int height);

} // namespace tamtara::hostile
