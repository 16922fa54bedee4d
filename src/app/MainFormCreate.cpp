// The window's life: FormCreate (sequencer, packages, key bindings), FormShow (MIDI output),
// FormClose and FormDestroy.
#include "app/MainForm.h"

#include <utility>

namespace tamtara {

TMainForm::TMainForm(GameServices services)
    : Clock(*services.Clock),
      DXDraw(std::move(services.Presenter)),
      Timer(*services.Clock),
      KeySource(std::move(services.Keys)),
      DXInput(*KeySource),
      SequencerThread(services.SequencerThread) {
    Random.seed(std::random_device{}());
    Caption = std::string(ResourceCaption) + " " + VersionText;
    DXDraw.SetOptions(GameDisplayOptions);
    DXDraw.Caption = Caption;
    DXDraw.Presenter().SetCaption(Caption);
    ConnectDisplayEvents();
    ConnectLibrarySearch();

    MidiDrive = std::make_unique<TMidiDrive>(*services.MidiDriver, Clock, SequencerThread);
    // The four sequencer callbacks (drum note capture, automatic lanes, meters).
    Play = std::make_unique<GamePlay>(GamePlayParts{
        DXDraw, *MidiDrive, Clock, Timer, InstrumentNames, [this] { DXInput.Update(); },
        [this](int inputState) { return DXInput.States.Contains(static_cast<InputState>(inputState)); }});
    Play->Capture.Register();
    if (services.MidiIn) Kit = std::make_unique<KitInput>(*services.MidiIn, [this] { DXDraw.WakeEvents(); });
    MidiDrive->AnnounceNotes = true;
    MidiDrive->GMResetOnPlay = true;

    ScreenState = ssOpening;
    OpenPackages();
    FolderIndex = 0;
    FixMenuKeys();
}

TMainForm::~TMainForm() {
    FormClose();
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
        if (active) DXInput.Acquire();
    };
    DXDraw.OnBeforeFlip = [this](TDXDraw&) { DrawNotice(); };
    Timer.OnTimer = [this](TDXTimer&, std::int32_t) { RunHandler([this] { TimerTimer(); }); };
}

void TMainForm::FormShow() {
    // Without a MIDI output the game still runs, silent; the error has been reported.
    RunHandler([this] { MidiDrive->OpenOutput(MidiDevice); });
    MidiDrive->NoBankSelect = NoBank;
    // Without any input port (no MIDI sequencer at all) there is nothing worth saying.
    if (Kit && !MidiIn.empty() && !Kit->Open(MidiIn, KitMap) && Kit->AnyPorts())
        ShowNotice("MIDI input \"" + MidiIn + "\" not found: play with the keyboard");
    DXDraw.Presenter().SetCursorVisible(!DXDraw.Options().Contains(TDXDrawOption::doFullScreen));
    if (DXDraw.AutoInitialize && !DXDraw.Initialized()) DXDraw.Initialize();
}

void TMainForm::FormClose() {
    // The kit's thread must not deliver into a window that is going.
    if (Kit) Kit->Close();
    // Freeing the sequencer stops its thread, silences the song and closes the output.
    MidiDrive.reset();
}

} // namespace tamtara
