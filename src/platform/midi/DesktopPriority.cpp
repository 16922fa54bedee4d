// SDL's thread priority call as the broker: with the hint below, a time-critical thread is
// asked for SCHED_RR (directly, else through RealtimeKit); a high one gets a nice level (directly,
// else through RealtimeKit).
#include "platform/midi/DesktopPriority.h"

#include "midi/ThreadPriority.h"

#include <SDL.h>

#include <mutex>

namespace tamtara {

void InstallDesktopPriority() {
    static std::once_flag once;
    std::call_once(once, [] {
        SDL_SetHint(SDL_HINT_THREAD_FORCE_REALTIME_TIME_CRITICAL, "1");
        InstallPriorityBroker([](bool realTime) {
            return SDL_SetThreadPriority(realTime ? SDL_THREAD_PRIORITY_TIME_CRITICAL
                                                  : SDL_THREAD_PRIORITY_HIGH) == 0;
        });
    });
}

} // namespace tamtara
