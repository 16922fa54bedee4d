#include "records/RecordStore.h"

#include "database/Database.h"
#include "records/StrikePacking.h"

#include <algorithm>
#include <iostream>

namespace tamtara {

namespace {

// The columns ReadPlay expects, in its order, after which comes the strikes blob.
#define PLAY_COLUMNS                                                                                         \
    "p.id, s.key, p.played_at, p.play_time, p.special, p.speed, p.hide_lower, p.hide_upper, p.level, "       \
    "p.auto_lanes, p.input, p.offset_ms, p.practice_tempo, p.loop_from_bar, p.loop_to_bar, p.score, "        \
    "p.rank, p.perfect, p.great, p.good, p.miss, p.max_combo, p.cleared, p.failed, st.packed "               \
    "FROM plays p JOIN songs s ON s.id = p.song_id LEFT JOIN strikes st ON st.play_id = p.id "

PlayRecord ReadPlay(const TStatement& row) {
    PlayRecord play;
    int c = 0;
    auto next = [&] { return static_cast<std::int32_t>(row.Int(c++)); };
    play.Id = row.Int(c++);
    play.SongKey = row.Text(c++);
    play.PlayedAt = row.Int(c++);
    play.PlayTime = next();
    play.Special = next();
    play.Speed = next();
    play.HideLower = next() != 0;
    play.HideUpper = next() != 0;
    play.Level = next();
    play.AutoLanes = static_cast<std::uint8_t>(next());
    play.Input = next() == 1 ? InputKind::Kit : InputKind::Keyboard;
    play.OffsetMs = next();
    play.PracticeTempo = next();
    play.LoopFromBar = next();
    play.LoopToBar = next();
    play.Score = next();
    play.Rank = row.Text(c++);
    play.Perfect = next();
    play.Great = next();
    play.Good = next();
    play.Miss = next();
    play.MaxCombo = next();
    play.Cleared = next() != 0;
    play.Failed = next() != 0;
    play.Strikes = UnpackStrikes(row.Blob(c++));
    return play;
}

WriteProblem ProblemOf(DatabaseFault fault) {
    switch (fault) {
    case DatabaseFault::Full:
        return WriteProblem::DiskFull;
    case DatabaseFault::Corrupt:
        return WriteProblem::Damaged;
    case DatabaseFault::ReadOnly:
        return WriteProblem::ReadOnly;
    case DatabaseFault::Busy:
        return WriteProblem::Busy;
    case DatabaseFault::Io:
        return WriteProblem::DiskError;
    case DatabaseFault::Other:
        break;
    }
    return WriteProblem::Other;
}

RecordsState StateOf(DatabaseOpen outcome) {
    switch (outcome) {
    case DatabaseOpen::Opened:
        return RecordsState::On;
    case DatabaseOpen::Busy:
        return RecordsState::Busy;
    case DatabaseOpen::Corrupt:
        return RecordsState::Corrupt;
    case DatabaseOpen::NewerVersion:
        return RecordsState::NewerVersion;
    case DatabaseOpen::ReadOnly:
        return RecordsState::ReadOnly;
    case DatabaseOpen::Failed:
        break;
    }
    return RecordsState::Failed;
}

} // namespace

double PlayAccuracy(std::int32_t perfect, std::int32_t great, std::int32_t good, std::int32_t miss) {
    const std::int64_t graded = static_cast<std::int64_t>(perfect) + great + good + miss;
    if (graded <= 0) return 0;
    return (3.0 * perfect + 2.0 * great + good) / (3.0 * static_cast<double>(graded));
}

// Prepared once per store; used under the store's lock.
class TRecordStatements {
public:
    explicit TRecordStatements(TDatabase& db)
        : UpsertSong(
              db.Prepare("INSERT INTO songs(key, last_path, title, length_ms, hh, sd, bd, ht, mt, lt, cy) "
                         "VALUES(?,?,?,?,?,?,?,?,?,?,?) ON CONFLICT(key) DO UPDATE SET "
                         "last_path = excluded.last_path, title = excluded.title, "
                         "length_ms = excluded.length_ms, hh = excluded.hh, sd = excluded.sd, "
                         "bd = excluded.bd, ht = excluded.ht, mt = excluded.mt, lt = excluded.lt, "
                         "cy = excluded.cy RETURNING id")),
          InsertPlay(
              db.Prepare("INSERT INTO plays(song_id, played_at, play_time, special, speed, hide_lower, "
                         "hide_upper, level, auto_lanes, input, offset_ms, practice_tempo, "
                         "loop_from_bar, loop_to_bar, score, rank, perfect, great, good, miss, "
                         "max_combo, cleared, failed) "
                         "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")),
          InsertStrikes(db.Prepare("INSERT INTO strikes(play_id, packed) VALUES(?, ?)")),
          KeptPlay(db.Prepare("SELECT p.id FROM plays p JOIN songs s ON s.id = p.song_id WHERE s.key = ? "
                              "AND p.played_at = ? AND p.score = ? AND p.perfect = ? AND p.great = ? "
                              "AND p.good = ? AND p.miss = ? AND p.practice_tempo = ? LIMIT 1")),
          PlayCounts(db.Prepare("SELECT s.key, sum(p.practice_tempo = 0), sum(p.practice_tempo <> 0), "
                                "max(p.played_at) FROM plays p JOIN songs s ON s.id = p.song_id "
                                "GROUP BY p.song_id")),
          // The bare rank column comes from the row holding the maximum score.
          BestScores(db.Prepare("SELECT s.key, max(p.score), p.rank FROM plays p "
                                "JOIN songs s ON s.id = p.song_id WHERE p.practice_tempo = 0 "
                                "GROUP BY p.song_id")),
          SongList(db.Prepare(
              "SELECT s.key, s.last_path, s.title, s.length_ms, s.hh, s.sd, s.bd, s.ht, s.mt, "
              "s.lt, s.cy FROM songs s WHERE EXISTS(SELECT 1 FROM plays p WHERE p.song_id = s.id)")),
          History(
              db.Prepare("SELECT p.id, p.played_at, p.score, p.perfect, p.great, p.good, p.miss FROM plays p "
                         "WHERE p.song_id = (SELECT id FROM songs WHERE key = ?) AND p.practice_tempo = 0 "
                         "ORDER BY p.played_at, p.id")),
          Best(db.Prepare("SELECT " PLAY_COLUMNS
                          "WHERE p.song_id = (SELECT id FROM songs WHERE key = ?) AND p.practice_tempo = 0 "
                          "AND p.play_time = ? AND p.special = ? AND p.speed = ? "
                          "ORDER BY p.score DESC, p.played_at, p.id LIMIT 1")),
          Last(db.Prepare("SELECT " PLAY_COLUMNS "WHERE p.song_id = (SELECT id FROM songs WHERE key = ?) "
                          "ORDER BY p.played_at DESC, p.id DESC LIMIT 1")) {}

    TStatement UpsertSong, InsertPlay, InsertStrikes, KeptPlay, PlayCounts, BestScores, SongList, History,
        Best, Last;
};

TRecordStore::TRecordStore(std::string path, RecordsState state) : DbPath(std::move(path)), Outcome(state) {}

TRecordStore::~TRecordStore() = default;

std::unique_ptr<TRecordStore> TRecordStore::Open(const std::string& dbPath) {
    // No play's commit waits for the journal to be written back: that happens here, for the
    // previous session's plays, and when the store closes.
    TDatabaseOptions options;
    options.AutoCheckpointPages = 0;
    // A file damaged past its first page would otherwise open as an empty one and fail every
    // play. The check reads every page: 100,000 plays of 1,000 strikes (214 MB) take about 0.3 s of
    // processor time, more while the disk reads them in.
    options.CheckOnOpen = true;
    TDatabaseOpenResult opened = TDatabase::Open(dbPath, RecordsSchemaSteps(), options);
    if (opened.CheckGivenUp)
        std::cerr << "records: " << dbPath << ": the check took longer than " << options.CheckMs
                  << " ms and was left; the file is used unchecked\n";
    if (opened.Database) opened.Database->Checkpoint();
    std::unique_ptr<TRecordStore> store(new TRecordStore(dbPath, StateOf(opened.Outcome)));
    store->MovedPath = opened.MovedTo;
    store->ErrorText = opened.Error;
    store->ReadOnlyFile = opened.ReadOnlyFile;
    if (opened.Database) {
        try {
            store->Statements = std::make_unique<TRecordStatements>(*opened.Database);
            store->Database = std::move(opened.Database);
        } catch (const std::exception& error) {
            store->Statements.reset();
            store->Outcome = RecordsState::Failed;
            store->ErrorText = error.what();
        }
    }
    return store;
}

bool TRecordStore::Enabled() const {
    return Database != nullptr;
}

std::int64_t TRecordStore::RecordPlay(const SongInfo& song, const PlayRecord& play, RecordWriteError* error) {
    return Write(song, play, false, error);
}

std::int64_t TRecordStore::RecordKeptPlay(const SongInfo& song, const PlayRecord& play,
                                          RecordWriteError* error) {
    return Write(song, play, true, error);
}

std::int64_t TRecordStore::Write(const SongInfo& song, const PlayRecord& play, bool unlessKept,
                                 RecordWriteError* error) {
    std::lock_guard<std::mutex> hold(Lock);
    if (!Database) {
        if (error) *error = RecordWriteError{WriteProblem::RecordsOff, ErrorText};
        return 0;
    }
    try {
        TTransaction transaction(*Database);
        if (unlessKept) {
            TStatement& kept = Statements->KeptPlay;
            kept.Reset();
            kept.Bind(1, song.Key).Bind(2, play.PlayedAt);
            int index = 3;
            for (std::int64_t value :
                 {play.Score, play.Perfect, play.Great, play.Good, play.Miss, play.PracticeTempo})
                kept.Bind(index++, value);
            const std::int64_t keptId = kept.Step() ? kept.Int(0) : 0;
            kept.Reset();
            if (keptId != 0) return keptId;
        }
        TStatement& upsert = Statements->UpsertSong;
        upsert.Reset();
        upsert.Bind(1, song.Key)
            .Bind(2, song.LastPath)
            .Bind(3, song.Title)
            .Bind(4, std::int64_t{song.LengthMs});
        for (int lane = 0; lane < 7; ++lane)
            upsert.Bind(5 + lane, std::int64_t{song.LaneCounts[static_cast<std::size_t>(lane)]});
        upsert.Step();
        const std::int64_t songId = upsert.Int(0);
        upsert.Reset();

        TStatement& insert = Statements->InsertPlay;
        insert.Reset();
        const std::int64_t values[] = {songId,           play.PlayedAt,
                                       play.PlayTime,    play.Special,
                                       play.Speed,       play.HideLower,
                                       play.HideUpper,   play.Level,
                                       play.AutoLanes,   static_cast<std::int64_t>(play.Input),
                                       play.OffsetMs,    play.PracticeTempo,
                                       play.LoopFromBar, play.LoopToBar,
                                       play.Score};
        int index = 1;
        for (std::int64_t value : values)
            insert.Bind(index++, value);
        insert.Bind(index++, play.Rank);
        for (std::int64_t value : {play.Perfect, play.Great, play.Good, play.Miss, play.MaxCombo,
                                   std::int32_t{play.Cleared}, std::int32_t{play.Failed}})
            insert.Bind(index++, value);
        insert.Run();
        const std::int64_t playId = Database->LastInsertId();
        insert.Reset();

        TStatement& strikes = Statements->InsertStrikes;
        strikes.Reset();
        strikes.Bind(1, playId).BindBlob(2, PackStrikes(play.Strikes));
        strikes.Run();
        strikes.Reset();
        transaction.Commit();
        return playId;
    } catch (const EDatabaseError& failure) {
        if (error) *error = RecordWriteError{ProblemOf(FaultOf(failure.Code)), failure.what()};
        return 0;
    } catch (const std::exception& failure) {
        if (error) *error = RecordWriteError{WriteProblem::Other, failure.what()};
        return 0;
    }
}

std::unordered_map<std::string, SongBest> TRecordStore::AllBests() {
    std::lock_guard<std::mutex> hold(Lock);
    std::unordered_map<std::string, SongBest> bests;
    if (!Database) return bests;
    try {
        TStatement& counts = Statements->PlayCounts;
        counts.Reset();
        while (counts.Step()) {
            SongBest& best = bests[counts.Text(0)];
            best.Plays = static_cast<std::int32_t>(counts.Int(1));
            best.PracticePlays = static_cast<std::int32_t>(counts.Int(2));
            best.LastPlayedAt = counts.Int(3);
        }
        counts.Reset();
        TStatement& scores = Statements->BestScores;
        scores.Reset();
        while (scores.Step()) {
            SongBest& best = bests[scores.Text(0)];
            best.BestScore = static_cast<std::int32_t>(scores.Int(1));
            best.BestRank = scores.Text(2);
        }
        scores.Reset();
    } catch (const std::exception&) {
    }
    return bests;
}

std::optional<PlayRecord> TRecordStore::BestPlay(const std::string& songKey, std::int32_t playTime,
                                                 std::int32_t special, std::int32_t speed) {
    std::lock_guard<std::mutex> hold(Lock);
    if (!Database) return std::nullopt;
    try {
        TStatement& best = Statements->Best;
        best.Reset();
        best.Bind(1, songKey)
            .Bind(2, std::int64_t{playTime})
            .Bind(3, std::int64_t{special})
            .Bind(4, std::int64_t{speed});
        std::optional<PlayRecord> play;
        if (best.Step()) play = ReadPlay(best);
        best.Reset();
        return play;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::vector<SongSummary> TRecordStore::Songs() {
    std::unordered_map<std::string, SongBest> bests = AllBests();
    std::lock_guard<std::mutex> hold(Lock);
    std::vector<SongSummary> songs;
    if (!Database) return songs;
    try {
        TStatement& list = Statements->SongList;
        list.Reset();
        while (list.Step()) {
            SongSummary summary;
            SongInfo& song = summary.Song;
            song.Key = list.Text(0);
            song.LastPath = list.Text(1);
            song.Title = list.Text(2);
            song.LengthMs = static_cast<std::int32_t>(list.Int(3));
            for (int lane = 0; lane < 7; ++lane)
                song.LaneCounts[static_cast<std::size_t>(lane)] =
                    static_cast<std::int32_t>(list.Int(4 + lane));
            summary.Best = bests[song.Key];
            songs.push_back(std::move(summary));
        }
        list.Reset();
    } catch (const std::exception&) {
        songs.clear();
    }
    std::sort(songs.begin(), songs.end(), [](const SongSummary& a, const SongSummary& b) {
        return a.Best.LastPlayedAt != b.Best.LastPlayedAt ? a.Best.LastPlayedAt > b.Best.LastPlayedAt
                                                          : a.Song.Key < b.Song.Key;
    });
    return songs;
}

std::vector<PlayPoint> TRecordStore::History(const std::string& songKey) {
    std::lock_guard<std::mutex> hold(Lock);
    std::vector<PlayPoint> points;
    if (!Database) return points;
    try {
        TStatement& history = Statements->History;
        history.Reset();
        history.Bind(1, songKey);
        while (history.Step()) {
            auto count = [&](int column) { return static_cast<std::int32_t>(history.Int(column)); };
            points.push_back(PlayPoint{history.Int(0), history.Int(1), count(2),
                                       PlayAccuracy(count(3), count(4), count(5), count(6))});
        }
        history.Reset();
    } catch (const std::exception&) {
        points.clear();
    }
    return points;
}

std::optional<PlayRecord> TRecordStore::LastPlay(const std::string& songKey) {
    std::lock_guard<std::mutex> hold(Lock);
    if (!Database) return std::nullopt;
    try {
        TStatement& last = Statements->Last;
        last.Reset();
        last.Bind(1, songKey);
        std::optional<PlayRecord> play;
        if (last.Step()) play = ReadPlay(last);
        last.Reset();
        return play;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace tamtara
