// The window's side of the records: a finished play captured and queued to the records' thread,
// and the notice the thread leaves when records are off or the file was moved aside.
#include "app/MainForm.h"
#include "app/PlayCapture.h"

#include "platform/text/SongText.h"
#include "records/LoadedSong.h"

#include <chrono>

namespace tamtara {

void TMainForm::DescribePlayedSong() {
    // A jingle queued to the sequencer thread may load over the song meanwhile: read it whole.
    {
        auto lock = MidiDrive->ScopedLock();
        PlayedSong = DescribeLoadedSong(MidiDrive->Song(), Play->State.Lanes);
    }
    PlayedSong.Title = SongLabel(Selection.SongTitle, Selection.SongFile);
}

void TMainForm::RecordPlay(bool failed) {
    const PlayState& play = Play->State;
    if (play.DemoMode || play.AutoPlayMode) return;
    PlayOutcomeFacts facts;
    facts.Failed = failed;
    if (IsPracticePlay()) {
        facts.PracticeTempo = play.Practice.TempoPercent;
        facts.LoopFromBar = play.Practice.LoopFromBar;
        facts.LoopToBar = play.Practice.LoopToBar;
    }
    facts.Input = Input.Kit && Input.Kit->IsOpen() ? InputKind::Kit : InputKind::Keyboard;
    facts.PlayedAt =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    PlayRecord record;
    {
        // The song's tempo map is read under the sequencer's lock: a load on its thread writes it.
        auto lock = MidiDrive->ScopedLock();
        record = CapturePlay(play, Play->Judgement.PlayStrikes, MidiDrive->Song(), facts);
    }
    LastPlay = TimingPageData{};
    LastPlay.Timing = ComputeTimingStats(record.Strikes);
    LastPlay.OffsetMs = record.OffsetMs;
    LastPlay.Play = record;
    LastPlay.Play.Strikes.clear();
    LastPlayTicket = Records ? Records->Record(Selection.SongFile, PlayedSong, std::move(record)) : 0;
    LastPlay.BestState = LastPlayTicket == 0 ? BestLookup::RecordsOff : BestLookup::Pending;
}

void TMainForm::TakeRecordsNotice() {
    if (!Records) return;
    if (const std::optional<RecordsNotice> notice = Records->TakeNotice())
        ShowNotice(notice->Title, notice->Detail);
}

} // namespace tamtara
