// Notices: the messages that concern play, shown inside the game window over every frame (a
// full-screen game has no place for a separate box) for a few seconds or until Enter or Escape,
// and written to stderr as well.
#include "app/MainForm.h"

#include "app/MenuInput.h"

#include <iostream>

namespace tamtara {

void TMainForm::ShowNotice(const std::string& text) {
    ShowNotice(text, std::string());
}

void TMainForm::ShowNotice(const std::string& title, const std::string& detail) {
    std::cerr << "tamtara: " << title << (detail.empty() ? "" : ": ") << detail << std::endl;
    Notices.Post(GameMessage{title, detail}, Clock.Now());
}

const std::string& TMainForm::Notice() const {
    static const std::string none;
    const GameMessage* current = Notices.Current();
    return current ? current->Title : none;
}

bool TMainForm::SaveSettingsFile(const std::function<void(const std::string& iniPath)>& write,
                                 std::string* problem) {
    if (SettingsFile.empty()) return true;
    try {
        write(SettingsFile);
        return true;
    } catch (const std::exception& error) {
        if (problem)
            *problem = error.what();
        else
            ShowNotice("設定を保存できません", error.what());
        return false;
    }
}

void TMainForm::TakeNoticeKeys(KeyHolds& holds) {
    if (!Notices.Current()) return;
    bool pressed = false;
    for (auto* hold : {&holds.KeyHoldA[mbEnter], &holds.KeyHoldB[mbEnter]}) {
        // The screen beneath sees the key as held on, not as a new press.
        if (IsPress(*hold)) {
            *hold = 2;
            pressed = true;
        }
    }
    if (pressed) Notices.Dismiss(Clock.Now());
}

void TMainForm::DrawNotice() {
    Notices.Update(Clock.Now());
    const GameMessage* message = Notices.Current();
    if (!message || !Art.Surfaces.Created()) return;
    NoticePanel.Draw(DXDraw.Surface(), Art.Surfaces, *message, Notices.Serial(), Notices.Waiting());
}

} // namespace tamtara
