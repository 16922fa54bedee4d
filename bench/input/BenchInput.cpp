// bench_input: key-downs pushed into the window's real event queue at random moments between
// frame ticks during an automatic-band play (recording MIDI driver, real clock, sequencer
// thread), in the written polled mode and in precise mode: the time from key-down to the
// struck note-on at the MIDI driver, and how far the moment a strike was graded at lies from
// the key-down.
#include "SongWriter.h"
#include "app/MainForm.h"
#include "harness/GameHarness.h"
#include "launcher/SettingsHandOver.h"
#include "platform/display/Presenter.h"
#include "platform/input/SdlKeyTables.h"
#include "program/MainFormGameWindow.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

using namespace tamtara;
using namespace tamtara::testing;

namespace {

using SteadyClock = std::chrono::steady_clock;

// Milliseconds, with fractions, on the epoch of the game's millisecond clock.
double NowMs() {
    return std::chrono::duration<double, std::milli>(SteadyClock::now().time_since_epoch()).count();
}

constexpr double TicksPerMs = 120.0 * 480 / 60000.0;
constexpr SDL_Scancode SnareScancode = SDL_SCANCODE_F; // the snare's default first key

// The recording driver, plus the exact moment of every snare note-on (the player's lane).
class TimedRecordingDriver final : public IMidiOutDriver {
public:
    explicit TimedRecordingDriver(IClock& clock) : Inner(clock) {}
    std::vector<double> SnareNoteOns() {
        std::lock_guard lock(Mutex);
        return Times;
    }
    unsigned DeviceCount() override { return Inner.DeviceCount(); }
    MidiResult GetDevCaps(int id, MidiOutCaps& caps) override { return Inner.GetDevCaps(id, caps); }
    MidiResult Open(MidiOutHandle& handle, int id, MidiDoneCallback done) override {
        return Inner.Open(handle, id, std::move(done));
    }
    MidiResult Close(MidiOutHandle handle) override { return Inner.Close(handle); }
    MidiResult ShortMsg(MidiOutHandle handle, std::uint32_t message) override {
        const std::uint8_t status = message & 0xFF, note = (message >> 8) & 0xFF,
                           velocity = (message >> 16) & 0xFF;
        if (status == 0x99 && (note == 38 || note == 40) && velocity > 0) {
            std::lock_guard lock(Mutex);
            Times.push_back(NowMs());
        }
        return Inner.ShortMsg(handle, message);
    }
    MidiResult PrepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) override {
        return Inner.PrepareHeader(handle, buffer);
    }
    MidiResult LongMsg(MidiOutHandle handle, MidiLongBuffer& buffer) override {
        return Inner.LongMsg(handle, buffer);
    }
    MidiResult UnprepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) override {
        return Inner.UnprepareHeader(handle, buffer);
    }
    bool GetErrorText(MidiResult code, std::string& text) override { return Inner.GetErrorText(code, text); }

private:
    RecordingMidiDriver Inner;
    std::mutex Mutex;
    std::vector<double> Times;
};

// SDL's keyboard state follows only the keys its video driver reports, not pushed events; this
// source follows the pushed key events as they enter the queue, as the state array follows a
// real keyboard's as its events are pumped.
class PushedKeySource final : public TKeySource {
public:
    PushedKeySource() { SDL_AddEventWatch(&Watch, this); }
    ~PushedKeySource() override { SDL_DelEventWatch(&Watch, this); }
    bool HasFocus() override { return true; }
    bool ReadScanCodes(KeyStateArray& state) override {
        state.fill(0);
        std::lock_guard lock(Mutex);
        for (int sdl = 0; sdl < SDL_NUM_SCANCODES; ++sdl)
            if (Down[sdl] && DirectInputScanCode(sdl)) state[std::size_t(DirectInputScanCode(sdl))] = 0x80;
        return true;
    }
    bool ReadVirtualKeys(KeyStateArray& keys) override {
        keys.fill(0);
        std::lock_guard lock(Mutex);
        for (int sdl = 0; sdl < SDL_NUM_SCANCODES; ++sdl) {
            if (!Down[sdl]) continue;
            KeyStateArray one{};
            KeyCodesOfSdlKey(sdl, false, UsCharacterOfScancode, one);
            for (std::size_t i = 0; i < one.size(); ++i)
                keys[i] |= one[i];
        }
        return true;
    }
    void KeyCodesOfScancode(int sdlScancode, bool directInput, KeyStateArray& keys) override {
        KeyCodesOfSdlKey(sdlScancode, directInput, UsCharacterOfScancode, keys);
    }

private:
    static int Watch(void* self, SDL_Event* event) {
        auto* source = static_cast<PushedKeySource*>(self);
        if (event->type == SDL_KEYDOWN || event->type == SDL_KEYUP) {
            std::lock_guard lock(source->Mutex);
            source->Down[event->key.keysym.scancode] = event->type == SDL_KEYDOWN;
        }
        return 0;
    }
    std::mutex Mutex;
    std::array<bool, SDL_NUM_SCANCODES> Down{};
};

// A band on channels 1 to 3, hi-hat and kick on their (automatic) lanes, the snare on beats
// two and four for the player.
std::vector<SongNote> BandSong(int beats) {
    std::vector<SongNote> notes;
    for (int beat = 2; beat < beats; ++beat) {
        const std::int32_t tick = 480 * beat;
        notes.push_back({tick, 42});
        notes.push_back({tick + 240, 42});
        if (beat % 2 == 0)
            notes.push_back({tick, 36});
        else
            notes.push_back({tick, 38});
        notes.push_back({tick, std::uint8_t(48 + beat % 5), 0, 80});
        notes.push_back({tick, std::uint8_t(36 + beat % 3), 1, 90});
        notes.push_back({tick + 240, std::uint8_t(60 + beat % 7), 2, 70});
    }
    return notes;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return std::nan("");
    std::sort(values.begin(), values.end());
    return values[std::size_t(p * double(values.size() - 1) + 0.5)];
}

void PushKey(Uint32 type) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = SnareScancode;
    event.key.keysym.sym = SDLK_f;
    SDL_PushEvent(&event);
}

struct ModeFigures {
    std::vector<double> Latency;
    std::vector<double> JudgeError;
    int KeyDowns = 0;
    int Unsounded = 0;
};

ModeFigures RunMode(const std::string& song, bool precise, int seconds, unsigned seed) {
    TimedRecordingDriver midi(SystemClock::Instance());
    GameServices services;
    services.MidiDriver = &midi;
    services.Presenter = CreateSdlPresenter();
    services.Keys = std::make_unique<PushedKeySource>();
    TMainForm form(std::move(services));
    GameSettings settings = MakeGameSettings(DefaultSettings(), {"MIDI Mapper"});
    settings.FullScreen = false;
    settings.DInput = false;
    settings.PreciseInput = precise;
    MainFormGameWindow window(form);
    HandOverSettings(window, settings);
    form.FormShow();
    while (form.Screen.FrameCount == 0) {
        form.ProcessMessages();
        form.Timer.Idle();
    }

    std::mutex strikeMutex;
    std::vector<std::pair<double, double>> strikes; // (when handled, graded moment)
    double songStart = 0;
    form.Play->Judgement.OnStrike = [&](const StrikeRecord& record) {
        std::lock_guard lock(strikeMutex);
        strikes.emplace_back(NowMs(), songStart + record.Position / TicksPerMs);
    };
    form.Play->State.AutoLane.fill(true);
    form.Play->State.AutoLane[1] = false;
    form.Selection.SongFile = song;
    form.Selection.SongTitle = "bench";
    form.ChangeScreen(ssPlay);
    form.Screen.FrameCount = 1;
    {
        // The moment of tick 0, exactly as the sequencer integrates its position.
        auto lock = form.MidiDrive->ScopedLock();
        songStart = form.MidiDrive->LastCycleTime() - form.MidiDrive->CurrentPosition() / TicksPerMs;
    }

    std::vector<double> keyDowns;
    std::thread player([&] {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> gapUs(40000, 160000);
        std::uniform_int_distribution<int> holdUs(40000, 90000);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        const auto end = SteadyClock::now() + std::chrono::seconds(seconds);
        while (SteadyClock::now() < end) {
            std::this_thread::sleep_for(std::chrono::microseconds(gapUs(random)));
            keyDowns.push_back(NowMs());
            PushKey(SDL_KEYDOWN);
            std::this_thread::sleep_for(std::chrono::microseconds(holdUs(random)));
            PushKey(SDL_KEYUP);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        // The first close request leaves play for the opening screen, the second closes.
        for (int i = 0; i < 2; ++i) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        }
    });
    form.Run();
    player.join();

    ModeFigures figures;
    figures.KeyDowns = int(keyDowns.size());
    const std::vector<double> noteOns = midi.SnareNoteOns();
    for (std::size_t i = 0; i < keyDowns.size(); ++i) {
        const double down = keyDowns[i];
        const double next = i + 1 < keyDowns.size() ? keyDowns[i + 1] : 1e300;
        const auto sounded = std::lower_bound(noteOns.begin(), noteOns.end(), down);
        if (sounded == noteOns.end() || *sounded >= next) {
            ++figures.Unsounded;
            continue;
        }
        figures.Latency.push_back(*sounded - down);
        for (const auto& [handled, graded] : strikes)
            if (handled >= down && handled < next) {
                figures.JudgeError.push_back(std::fabs(graded - down));
                break;
            }
    }
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 20;
    TestGameFolderOptions options;
    options.Songs = {};
    TestGameFolder folder("BenchInput", options);
    const std::string song = (folder.Path() / "band.mid").string();
    WriteSong(song, BandSong(2 * (seconds + 10)));
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const ModeFigures polled = RunMode(song, false, seconds, 1);
    const ModeFigures precise = RunMode(song, true, seconds, 1);
    std::filesystem::current_path(previous);

    std::printf("key_downs_per_mode: %d\n", polled.KeyDowns);
    std::printf("polled_unsounded_key_downs: %d\n", polled.Unsounded);
    std::printf("precise_unsounded_key_downs: %d\n", precise.Unsounded);
    std::printf("polled_strike_latency_p50_ms: %.2f\n", Percentile(polled.Latency, 0.50));
    std::printf("polled_strike_latency_p99_ms: %.2f\n", Percentile(polled.Latency, 0.99));
    std::printf("precise_strike_latency_p50_ms: %.2f\n", Percentile(precise.Latency, 0.50));
    std::printf("precise_strike_latency_p99_ms: %.2f\n", Percentile(precise.Latency, 0.99));
    std::printf("polled_judge_error_p99_ms: %.2f\n", Percentile(polled.JudgeError, 0.99));
    std::printf("precise_judge_error_p99_ms: %.2f\n", Percentile(precise.JudgeError, 0.99));
    return 0;
}
