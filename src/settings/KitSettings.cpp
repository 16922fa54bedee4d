// The kit's default map, learning and the note lists' ini form.
#include "settings/KitSettings.h"

#include <algorithm>
#include <sstream>

namespace tamtara {

KitSettings DefaultKit() {
    KitSettings kit;
    kit.Notes = {{{42, 46, 22, 26, 23},
                  {38, 40, 37},
                  {35, 36},
                  {48, 50},
                  {45, 47},
                  {41, 43, 58},
                  {49, 57, 55, 52, 51, 59, 53}}};
    kit.MinVelocity.fill(10);
    return kit;
}

int KitLaneOfNote(const KitSettings& kit, std::uint8_t note) {
    for (int lane = 0; lane < LaneCount; ++lane) {
        const auto& notes = kit.Notes[static_cast<std::size_t>(lane)];
        if (std::find(notes.begin(), notes.end(), note) != notes.end()) return lane;
    }
    return -1;
}

void AssignKitNote(KitSettings& kit, int lane, std::uint8_t note, bool replace) {
    if (lane < 0 || lane >= LaneCount || note > 127) return;
    for (auto& notes : kit.Notes)
        std::erase(notes, note);
    auto& notes = kit.Notes[static_cast<std::size_t>(lane)];
    if (replace) notes.clear();
    notes.push_back(note);
    if (kit.EnterNote == note) kit.EnterNote = NoKitNote;
}

std::string KitNoteListText(const std::vector<std::uint8_t>& notes) {
    std::string text;
    for (std::uint8_t note : notes) {
        if (!text.empty()) text += ',';
        text += std::to_string(note);
    }
    return text;
}

std::vector<std::uint8_t> ParseKitNoteList(const std::string& text) {
    std::vector<std::uint8_t> notes;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        const auto first = item.find_first_not_of(" \t");
        const auto last = item.find_last_not_of(" \t");
        if (first == std::string::npos) continue;
        item = item.substr(first, last - first + 1);
        if (item.empty() || item.size() > 3 || !std::all_of(item.begin(), item.end(), ::isdigit)) continue;
        const int note = std::stoi(item);
        if (note <= 127 && std::find(notes.begin(), notes.end(), note) == notes.end())
            notes.push_back(static_cast<std::uint8_t>(note));
    }
    return notes;
}

} // namespace tamtara
