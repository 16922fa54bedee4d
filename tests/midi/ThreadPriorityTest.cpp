// Priority requests: real-time directly when the process may, else the broker, else the best
// nice level; and what was obtained in words.
#include "midi/ThreadPriority.h"
#include "midi/MidiDrive.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

namespace tamtara {
namespace {

// Runs check in a child process (so the priorities and the broker stay there); its exit code.
template <typename Check> int InChild(Check check) {
    const pid_t child = fork();
    if (child == 0) _exit(check());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST(ThreadPriority, RealTimeDirectlyWhenAllowedElseTheBrokerThenTheBestNiceLevel) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to compare with an unprivileged user";
    const int root = InChild([] {
        std::vector<bool> asked;
        InstallPriorityBroker([&asked](bool realTime) {
            asked.push_back(realTime);
            return false;
        });
        std::string obtained;
        std::thread([&obtained] {
            obtained = ApplyCurrentThreadPriority(ThreadPriority::TimeCritical, 60);
        }).join();
        return obtained == "real-time (SCHED_FIFO 60)" && asked.empty() ? 0 : 1;
    });
    EXPECT_EQ(root, 0);

    const int user = InChild([] {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) return 2;
        std::vector<bool> asked;
        InstallPriorityBroker([&asked](bool realTime) {
            asked.push_back(realTime);
            return false;
        });
        std::string obtained;
        std::string described;
        std::thread([&] {
            obtained = ApplyCurrentThreadPriority(ThreadPriority::TimeCritical);
            described = DescribeCurrentThreadPriority();
        }).join();
        // Refused everywhere: real-time asked of the broker, then a nice level; nothing claimed.
        const bool askedBoth =
            asked == std::vector<bool>{true, false} || (BestAllowedNice() < 0 && asked.size() == 1);
        if (!askedBoth) return 3;
        if (obtained != described || obtained.find("real-time") != std::string::npos) return 4;
        return BestAllowedNice() == 0 && obtained != "normal" ? 5 : 0;
    });
    EXPECT_EQ(user, 0);
}

TEST(ThreadPriority, RealTimeGrantedWithResetOnForkIsStillRealTime) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to set a real-time policy";
    // RealtimeKit grants SCHED_RR only with SCHED_RESET_ON_FORK set, and the policy then reads
    // back with that flag.
    const int granted = InChild([] {
        std::string described;
        std::thread([&described] {
            sched_param param{};
            param.sched_priority = 20;
            if (sched_setscheduler(0, SCHED_RR | SCHED_RESET_ON_FORK, &param) != 0) return;
            described = DescribeCurrentThreadPriority();
        }).join();
        return described == "real-time (SCHED_RR 20)" ? 0 : 1;
    });
    EXPECT_EQ(granted, 0);
}

} // namespace
} // namespace tamtara
