// The injected reader: a thread that sleeps until a key is handed over, as the X reader's thread
// sleeps on its connection.
#include "KeyStrikes.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace tamtara::bench {

namespace {

// One key per lane, from SDL's scancode of A on.
constexpr int FirstScancode = 4;

} // namespace

class BenchKeyThread::Reader final : public IRawKeyReader {
public:
    std::string Start(RawKeyEvents events) override {
        Events = std::move(events);
        Worker = std::thread([this] { Run(); });
        return {};
    }

    void Stop() override {
        if (!Worker.joinable()) return;
        {
            std::lock_guard lock(Mutex);
            Done = true;
        }
        Wake.notify_one();
        Worker.join();
    }

    ~Reader() override { Stop(); }

    void Hand(int scancode, std::int64_t stampMicros) {
        {
            std::lock_guard lock(Mutex);
            Keys.emplace_back(scancode, stampMicros);
        }
        Wake.notify_one();
    }

private:
    void Run() {
        if (Events.Started) Events.Started();
        std::unique_lock lock(Mutex);
        while (true) {
            Wake.wait(lock, [this] { return Done || !Keys.empty(); });
            if (Done) return;
            const auto [scancode, stamp] = Keys.front();
            Keys.pop_front();
            lock.unlock();
            Events.KeyDown(scancode, static_cast<std::uint32_t>(stamp / 1000));
            lock.lock();
        }
    }

    RawKeyEvents Events;
    std::mutex Mutex;
    std::condition_variable Wake;
    std::deque<std::pair<int, std::int64_t>> Keys;
    bool Done = false;
    std::thread Worker;
};

BenchKeyThread::BenchKeyThread(std::function<bool(int, std::uint32_t)> taker, std::function<void()> wake) {
    auto reader = std::make_unique<Reader>();
    Keys = reader.get();
    Input = std::make_unique<KeyStrikeInput>(std::move(reader), std::move(wake));
    KeyLaneMasks lanes{};
    for (int lane = 0; lane < LaneCount; ++lane)
        lanes[static_cast<std::size_t>(FirstScancode + lane)] = static_cast<std::uint8_t>(1u << lane);
    Input->SetLanes(lanes);
    Input->SetLaneTaker(std::move(taker));
    Input->SetFocus(true);
    Input->Start(nullptr);
}

BenchKeyThread::~BenchKeyThread() {
    Input->Stop();
}

void BenchKeyThread::Hand(int lane, std::int64_t stampMicros) {
    Keys->Hand(FirstScancode + lane, stampMicros);
}

} // namespace tamtara::bench
