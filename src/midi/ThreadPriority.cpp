// Maps the sequencer's priority levels onto POSIX scheduling for the calling thread.
#include "midi/ThreadPriority.h"

#include "midi/MidiDrive.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <mutex>

namespace tamtara {

namespace {

std::mutex& StateMutex() {
    static std::mutex mutex;
    return mutex;
}

PriorityBroker& Broker() {
    static PriorityBroker broker;
    return broker;
}

std::array<std::string, 4>& Reported() {
    static std::array<std::string, 4> reported;
    return reported;
}

id_t ThreadId() {
    return static_cast<id_t>(syscall(SYS_gettid));
}

// The calling thread's policy, without the reset-on-fork flag RealtimeKit insists on.
int CurrentPolicy() {
    return sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
}

bool IsRealTime() {
    const int policy = CurrentPolicy();
    return policy == SCHED_FIFO || policy == SCHED_RR;
}

const char* RoleName(PriorityRole role) {
    switch (role) {
    case PriorityRole::Sequencer:
        return "sequencer";
    case PriorityRole::Audio:
        return "audio";
    case PriorityRole::Strikes:
        return "strike";
    case PriorityRole::Keys:
        return "key strike";
    }
    return "";
}

// The lowest nice value from `wanted` up to 0 that the kernel accepts for the thread.
void TakeBestNice(int wanted) {
    for (int nice = std::max(wanted, BestAllowedNice()); nice < 0; ++nice)
        if (setpriority(PRIO_PROCESS, ThreadId(), nice) == 0) return;
}

PriorityBroker CurrentBroker() {
    std::lock_guard lock(StateMutex());
    return Broker();
}

// The best nice level from `wanted` on, directly or, refused, through the broker.
std::string TakeBestNiceOrAsk(int wanted, const PriorityBroker& broker) {
    TakeBestNice(wanted);
    if (getpriority(PRIO_PROCESS, ThreadId()) >= 0 && broker && broker(false))
        return DescribeCurrentThreadPriority() + " through RealtimeKit";
    return DescribeCurrentThreadPriority();
}

} // namespace

void InstallPriorityBroker(PriorityBroker broker) {
    std::lock_guard lock(StateMutex());
    Broker() = std::move(broker);
}

int BestAllowedNice() {
    rlimit limit{};
    if (geteuid() == 0) return -20;
    if (getrlimit(RLIMIT_NICE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 0;
    // RLIMIT_NICE counts from 1 (nice 19) to 40 (nice -20).
    const int best = 20 - static_cast<int>(limit.rlim_cur);
    return std::clamp(best, -20, 0);
}

std::string ApplyCurrentThreadPriority(ThreadPriority priority, int fifoLevel) {
    if (priority == ThreadPriority::TimeCritical || priority == ThreadPriority::Highest) {
        const bool critical = priority == ThreadPriority::TimeCritical;
        sched_param param{};
        param.sched_priority = fifoLevel > 0 ? fifoLevel : critical ? 50 : 20;
        if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0)
            return DescribeCurrentThreadPriority();
        const PriorityBroker broker = CurrentBroker();
        if (broker && broker(true) && IsRealTime())
            return DescribeCurrentThreadPriority() + " through RealtimeKit";
        // Without real-time rights, the lowest nice value allowed is the next best thing.
        return TakeBestNiceOrAsk(critical ? -20 : -10, broker);
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
    setpriority(PRIO_PROCESS, ThreadId(), nice);
    return DescribeCurrentThreadPriority();
}

std::string RaiseCurrentThread() {
    return TakeBestNiceOrAsk(-10, CurrentBroker());
}

std::string DescribeCurrentThreadPriority() {
    const int policy = CurrentPolicy();
    if (IsRealTime()) {
        sched_param param{};
        sched_getparam(0, &param);
        return std::string("real-time (") + (policy == SCHED_FIFO ? "SCHED_FIFO " : "SCHED_RR ") +
               std::to_string(param.sched_priority) + ")";
    }
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, ThreadId());
    if (errno != 0 || nice == 0) return "normal";
    return "nice " + std::to_string(nice);
}

void ReportThreadPriority(PriorityRole role, std::string obtained) {
    const std::string text = obtained.empty() ? DescribeCurrentThreadPriority() : std::move(obtained);
    {
        std::lock_guard lock(StateMutex());
        std::string& kept = Reported()[static_cast<std::size_t>(role)];
        if (!kept.empty()) return;
        kept = text;
    }
    std::fprintf(stderr, "tamtara: %s thread priority: %s\n", RoleName(role), text.c_str());
}

std::string ReportedThreadPriority(PriorityRole role) {
    std::lock_guard lock(StateMutex());
    return Reported()[static_cast<std::size_t>(role)];
}

} // namespace tamtara
