// Real-time priority the way a desktop grants it to an ordinary user: SDL's RealtimeKit client
// (D-Bus) as the priority broker of every thread that asks, and SDL's own audio thread asking
// for real-time scheduling rather than only a nice level.
#pragma once

namespace tamtara {

// Once per process, before the first audio device opens; later calls do nothing.
void InstallDesktopPriority();

} // namespace tamtara
