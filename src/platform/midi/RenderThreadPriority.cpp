#include "platform/midi/RenderThreadPriority.h"

namespace tamtara {

std::atomic<std::uint64_t> RenderThreadPriority::NextId{1};

RenderThreadPriority::RenderThreadPriority(std::function<void()> raise)
    : Raise(std::move(raise)), Id(NextId.fetch_add(1)) {}

void RenderThreadPriority::OnRender() {
    // The last object this thread raised itself for; a new stream or a new thread asks again.
    thread_local std::uint64_t raisedFor = 0;
    if (raisedFor == Id) return;
    raisedFor = Id;
    if (Raise) Raise();
}

} // namespace tamtara
