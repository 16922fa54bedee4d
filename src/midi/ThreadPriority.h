// Priority of the calling thread. Real-time scheduling is asked for directly first (root, or a
// program given the right), then through the desktop's broker (RealtimeKit over D-Bus, installed
// by the platform), and without either the thread takes the best nice level it is allowed. What
// each kind of thread obtained is said once on stderr and kept for the launcher.
#pragma once

#include <functional>
#include <string>

namespace tamtara {

enum class ThreadPriority;

// The threads the strike-to-sound path runs on: Strikes is the window's, Keys the key thread's.
enum class PriorityRole { Sequencer, Audio, Strikes, Keys };

// Asks the desktop for the calling thread: real-time scheduling when realTime, else a high nice
// level; true when granted.
using PriorityBroker = std::function<bool(bool realTime)>;
void InstallPriorityBroker(PriorityBroker broker);

// Best effort; refusals are not errors. Returns what the thread has afterwards. fifoLevel, when
// given, replaces the SCHED_FIFO level of TimeCritical (50) and Highest (20).
std::string ApplyCurrentThreadPriority(ThreadPriority priority, int fifoLevel = 0);
// The audio thread's level: above the sequencer's, which only feeds it.
inline constexpr int AudioFifoLevel = 60;

// For a thread that must answer at once but also does long work (the window's, which takes the
// strikes): the best nice level, directly or through the broker, never real-time scheduling.
std::string RaiseCurrentThread();

// The calling thread's scheduling in words: "real-time (SCHED_FIFO 50)", "nice -11", "normal".
std::string DescribeCurrentThreadPriority();
// The best nice level this process may take (RLIMIT_NICE), from -20 to 0.
int BestAllowedNice();

// Says once per role, on stderr, what the thread obtained (empty: what the calling thread has),
// and keeps it.
void ReportThreadPriority(PriorityRole role, std::string obtained = {});
// What was reported for role; empty before.
std::string ReportedThreadPriority(PriorityRole role);

} // namespace tamtara
