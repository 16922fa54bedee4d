// The window's life: FormCreate (sequencer, packages, key bindings), the settings hand-over,
// FormShow (MIDI output, kit) and FormClose.
#include "app/MainForm.h"

#include "midi/DrumMap.h"
#include "midi/ThreadPriority.h"
#include "records/RecordStore.h"

#include <filesystem>
#include <utility>

namespace tamtara {

TMainForm::TMainForm(GameServices services)
    : Clock(*services.Clock), DXDraw(std::move(services.Presenter)), Timer(*services.Clock), Art(DXDraw),
      Input(
          std::move(services.Keys), services.MidiIn, [this] { DXDraw.WakeEvents(); },
          std::move(services.RawKeys)),
      KeyPathLog(services.KeyPathLog), ScreenTrace(services.ScreenTrace),
      SettingsFile(std::move(services.SettingsFile)), SequencerThread(services.SequencerThread) {
    Random.seed(std::random_device{}());
    Input.AfterPoll = [this](KeyHolds& holds) { TakeNoticeKeys(holds); };
    Caption = std::string(ResourceCaption) + " " + VersionText;
    DXDraw.SetOptions(GameDisplayOptions);
    DXDraw.Caption = Caption;
    DXDraw.Presenter().SetCaption(Caption);
    ConnectDisplayEvents();

    MidiDrive = std::make_unique<TMidiDrive>(*services.MidiDriver, Clock, SequencerThread);
    // The four sequencer callbacks (drum note capture, automatic lanes, meters).
    Play = std::make_unique<GamePlay>(GamePlayParts{DXDraw, Art, *MidiDrive, Clock, Timer,
                                                    Packages.InstrumentNames, [this] { Input.PollKeys(); },
                                                    Input.Holds});
    Play->Capture.Register();
    if (ScreenTrace) Play->Judgement.OnStrike = [this](const StrikeRecord& strike) { TraceStrike(strike); };
    // A pad sounds from the kit's input thread in play; FormClose closes the kit before the
    // sequencer goes.
    if (Input.Kit)
        Input.Kit->SetLaneTaker([this](const KitHit& hit) {
            return Play->Judgement.StrikeFromInputThread(hit.Lane, hit.Time, hit.Velocity);
        });
    // A key sounds from the key thread in play, as a pad does from the kit's.
    if (Input.KeyThread)
        Input.KeyThread->SetLaneTaker([this](int lane, std::uint32_t time) {
            return Play->Judgement.StrikeFromInputThread(lane, time, 0);
        });
    // The first tick of a play's song and of the calibration's clicks is traced; jingles start
    // unreported.
    MidiDrive->Hooks.SongStart = [this](TMidiDrive&) {
        if (SongStartLine.empty()) return;
        TraceSongStart();
        SongStartLine.clear();
    };

    Packages.Open();
    // Without a records folder the records live beside the settings file; a game with neither
    // keeps none.
    const std::string recordsFolder = !services.RecordsFolder.empty() ? services.RecordsFolder
                                      : SettingsFile.empty()
                                          ? std::string()
                                          : std::filesystem::path(SettingsFile).parent_path().string();
    Records = std::make_unique<RecordKeeper>(
        recordsFolder.empty() ? std::string()
                              : (std::filesystem::path(recordsFolder) / RecordsFileName).string());
    // A cache that cannot be kept only makes every scan read every song.
    if (!services.CacheFolder.empty())
        Library.UseCache((std::filesystem::path(services.CacheFolder) / LibraryCacheFileName).string());
}

TMainForm::~TMainForm() {
    FormClose();
}

void TMainForm::HandOver(const GameSettings& settings) {
    Settings = settings;
    // However the settings were made, no practice key is a lane key or one of the window's own.
    Settings.Practice.Keys = UsablePracticeKeys(settings.Practice.Keys, settings.KeyA, settings.KeyB);
    // The window starts configured for full screen; only the window mode needs a change.
    if (!settings.FullScreen) LeaveFullScreen();
    DXDraw.Scaling = settings.Scaling == ScalingFit ? TPictureScaling::Fit : TPictureScaling::Integer;
    Input.DXInput.SetUseDirectInput(settings.DInput);
    Input.SetPlayerKeys(settings.KeyA, settings.KeyB);
    Library.Lanes = LaneMap::Chosen(settings.ExtendedDrumMap);
    if (Records) Records->SetLaneMap(Library.Lanes);
    // With the written input every key waits for the frame's poll.
    if (Input.KeyThread) Input.KeyThread->SetEnabled(settings.PreciseInput);
}

void TMainForm::ConnectDisplayEvents() {
    DXDraw.OnInitialize = [this](TDXDraw&) { DXDrawInitialize(); };
    DXDraw.OnFinalize = [this](TDXDraw&) { DXDrawFinalize(); };
    DXDraw.OnRestoreSurface = [this](TDXDraw&) { DXDrawRestoreSurface(); };
    DXDraw.OnKeyDown = [this](TDXDraw&, const TDisplayEvent& key) {
        const std::uint32_t time = Clock.Now() - key.Age;
        RunHandler([&] { TimedKeyDown(key, time); });
        RunHandler([&] { FormKeyDown(key.Key); });
    };
    DXDraw.OnCloseQuery = [this](TDXDraw&, bool& canClose) { FormCloseQuery(canClose); };
    DXDraw.OnClose = [this](TDXDraw&) { FormClose(); };
    DXDraw.OnActivate = [this](TDXDraw&, bool active) {
        Timer.SetApplicationActive(active);
        if (active) Input.DXInput.Acquire();
    };
    DXDraw.OnBeforeFlip = [this](TDXDraw&) {
        DrawNotice();
        if (!FirstFrameShown) ReportStart(100, "");
        FirstFrameShown = true;
    };
    Timer.OnTimer = [this](TDXTimer&, std::int32_t) { RunHandler([this] { TimerTimer(); }); };
}

void TMainForm::ReportStart(std::int32_t percentDone, const std::string& step) {
    if (OnStartProgress) OnStartProgress(percentDone, step);
}

void TMainForm::FormShow() {
    // Key-downs are judged on this thread as the window receives them.
    ReportThreadPriority(PriorityRole::Strikes, RaiseCurrentThread());
    ReportStart(0, StartSynthText);
    // The built-in synth loads its SoundFont while the display opens; the output is open before
    // FormShow returns, so before the first frame and before anything can play.
    MidiDrive->PrepareOutput(Settings.MidiDevice);
    // Without any input port (no MIDI sequencer at all) there is nothing worth saying.
    KitInput* kit = Input.Kit.get();
    if (kit && !Settings.MidiIn.empty() && !kit->Open(Settings.MidiIn, Settings.Kit) && kit->AnyPorts())
        ShowNotice("MIDI入力が見つかりません",
                   "「" + Settings.MidiIn + "」がありません。キーボードで演奏できます");
    if (Input.KeyThread) Input.KeyThread->Start(KeyPathLog);
    DXDraw.Presenter().SetCursorVisible(!DXDraw.Options().Contains(TDXDrawOption::doFullScreen));
    ReportStart(40, StartDisplayText);
    if (DXDraw.AutoInitialize && !DXDraw.Initialized()) DXDraw.Initialize();
    ReportStart(85, StartSynthText);
    // Without a MIDI output the game still runs, silent; the error has been reported.
    RunHandler([this] { MidiDrive->OpenOutput(Settings.MidiDevice); });
    MidiDrive->SetNoBankSelect(Settings.NoBank);
}

void TMainForm::FormClose() {
    // The kit's thread must not deliver into a window that is going.
    if (Input.Kit) Input.Kit->Close();
    if (Input.KeyThread) Input.KeyThread->Stop();
    // Freeing the sequencer stops its thread, silences the song and closes the output.
    MidiDrive.reset();
}

} // namespace tamtara
