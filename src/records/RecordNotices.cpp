// What the player is told about the records file: shown once, when records are off for the
// session or a damaged file was replaced.
#include "records/RecordStore.h"

namespace tamtara {

std::string TRecordStore::NoticeTitle() const {
    switch (Outcome) {
    case RecordsState::On:
        return {};
    case RecordsState::Corrupt:
        return "記録ファイルを作り直しました";
    default:
        return "記録を保存できません";
    }
}

std::string TRecordStore::NoticeDetail() const {
    const std::string after = "今回は記録を残さずに遊びます。";
    switch (Outcome) {
    case RecordsState::On:
        return {};
    case RecordsState::Busy:
        return "記録ファイル " + DbPath + " は、ほかに起動しているゲームが使っています。" + after;
    case RecordsState::Corrupt:
        return "記録ファイルが壊れていたため " + MovedPath + " に移し、新しい記録ファイル " + DbPath +
               " を作りました。";
    case RecordsState::NewerVersion:
        return "記録ファイル " + DbPath + " は新しい版のゲームで作られています。ファイルはそのままにして、" +
               after;
    case RecordsState::ReadOnly:
        return "記録ファイル " + DbPath + " に書き込めません（" +
               (ReadOnlyFile ? "ファイルが読み取り専用です" : "フォルダが読み取り専用です") + "）。" + after;
    case RecordsState::Failed:
        break;
    }
    return "記録ファイル " + DbPath + " を開けません（" + ErrorText + "）。" + after;
}

std::string WriteProblemText(const RecordWriteError& error) {
    switch (error.Problem) {
    case WriteProblem::None:
        return {};
    case WriteProblem::DiskFull:
        return "ディスクがいっぱいです";
    case WriteProblem::Damaged:
        return "記録ファイルが壊れています";
    case WriteProblem::ReadOnly:
        return "記録ファイルに書き込めません";
    case WriteProblem::Busy:
        return "ほかに起動しているゲームが記録ファイルを使っています";
    case WriteProblem::DiskError:
        return "ディスクの読み書きに失敗しました";
    case WriteProblem::RecordsOff:
        return "記録ファイルを開けていません";
    case WriteProblem::Other:
        break;
    }
    return error.Text;
}

} // namespace tamtara
