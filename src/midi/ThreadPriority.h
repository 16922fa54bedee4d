// Best-effort priority of the calling thread; refusals (no privilege) are ignored.
#pragma once

namespace tamtara {

enum class ThreadPriority;
void ApplyCurrentThreadPriority(ThreadPriority priority);

} // namespace tamtara
