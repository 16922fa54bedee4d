// Raw key events of the X Input extension (2.0 or later) on a connection of their own: every
// key-down of the master keyboards, whichever window has the focus, read on the reader's thread.
#pragma once

#include "base/Clock.h"
#include "platform/input/RawKeyReader.h"

#include <memory>

namespace tamtara {

// Connects to $DISPLAY when started; under Wayland without XWayland, when SDL's window is not
// an X one, without the extension or with one older than 2.0, Start says so and the window's
// events remain the keys' path.
std::unique_ptr<IRawKeyReader> CreateXRawKeyReader(IClock& clock);

} // namespace tamtara
