// Maps the sequencer's priority levels onto POSIX scheduling for the calling thread.
#include "midi/ThreadPriority.h"

#include "midi/MidiDrive.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tamtara {

void ApplyCurrentThreadPriority(ThreadPriority priority) {
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    if (priority == ThreadPriority::TimeCritical || priority == ThreadPriority::Highest) {
        sched_param param{};
        param.sched_priority = priority == ThreadPriority::TimeCritical ? 50 : 20;
        if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) return;
        // Without real-time rights, a lower nice value is the next best thing (also often refused).
        setpriority(PRIO_PROCESS, tid, priority == ThreadPriority::TimeCritical ? -10 : -5);
        return;
    }
    sched_param param{};
    pthread_setschedparam(pthread_self(), SCHED_OTHER, &param);
    int nice = 0;
    switch (priority) {
    case ThreadPriority::Idle:
        nice = 19;
        break;
    case ThreadPriority::Lowest:
        nice = 10;
        break;
    case ThreadPriority::BelowNormal:
        nice = 5;
        break;
    case ThreadPriority::AboveNormal:
        nice = -5;
        break;
    default:
        nice = 0;
        break;
    }
    setpriority(PRIO_PROCESS, tid, nice);
}

} // namespace tamtara
