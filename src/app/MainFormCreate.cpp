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
        RunHandler([&] { FormKeyDown(key.Key); });
    };
    DXDraw.OnCloseQuery = [this](TDXDraw&, bool& canClose) { FormCloseQuery(canClose); };
    DXDraw.OnClose = [this](TDXDraw&) { FormClose(); };
    DXDraw.OnActivate = [this](TDXDraw&, bool active) {
        Timer.SetApplicationActive(active);
        if (active) DXInput.Acquire();
    };
    Timer.OnTimer = [this](TDXTimer&, std::int32_t) { RunHandler([this] { TimerTimer(); }); };
}

void TMainForm::FormShow() {
    // Without a MIDI output the game still runs, silent; the error has been reported.
    RunHandler([this] { MidiDrive->OpenOutput(MidiDevice); });
    MidiDrive->NoBankSelect = NoBank;
    DXDraw.Presenter().SetCursorVisible(!DXDraw.Options().Contains(TDXDrawOption::doFullScreen));
    if (DXDraw.AutoInitialize && !DXDraw.Initialized()) DXDraw.Initialize();
}

void TMainForm::FormClose() {
    // Freeing the sequencer stops its thread, silences the song and closes the output.
    MidiDrive.reset();
}

} // namespace tamtara
