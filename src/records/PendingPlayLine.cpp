// One pending play as one line: its fields in a fixed order joined by tabs (text with its tabs,
// line ends and backslashes escaped, the strikes as the hex of their packed bytes), after a
// check of those fields.
#include "records/PendingPlayLine.h"

#include "records/StrikePacking.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <type_traits>
#include <vector>

namespace tamtara {

namespace {

// Every field of a pending play in the line's order, for writing and reading alike.
template <class Play, class Field> void ForEachField(Play& p, Field&& field) {
    field(p.Song.Key);
    field(p.Song.LastPath);
    field(p.Song.Title);
    field(p.Song.LengthMs);
    for (auto& count : p.Song.LaneCounts)
        field(count);
    auto& play = p.Play;
    field(play.PlayedAt);
    field(play.PlayTime);
    field(play.Special);
    field(play.Speed);
    field(play.HideLower);
    field(play.HideUpper);
    field(play.Level);
    field(play.AutoLanes);
    field(play.Input);
    field(play.OffsetMs);
    field(play.PracticeTempo);
    field(play.LoopFromBar);
    field(play.LoopToBar);
    field(play.Score);
    field(play.Rank);
    field(play.Perfect);
    field(play.Great);
    field(play.Good);
    field(play.Miss);
    field(play.MaxCombo);
    field(play.Cleared);
    field(play.Failed);
    field(play.Strikes);
}

std::uint32_t CheckOf(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (char c : text) {
        hash ^= static_cast<std::uint8_t>(c);
        hash *= 16777619u;
    }
    return hash;
}

constexpr char Hex[] = "0123456789abcdef";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

class LineWriter {
public:
    void operator()(const std::string& text) {
        Start();
        for (char c : text) {
            if (c == '\\' || c == '\t' || c == '\n' || c == '\r') {
                Line += '\\';
                Line += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
            } else {
                Line += c;
            }
        }
    }
    void operator()(const std::vector<StrikeEntry>& strikes) {
        Start();
        for (std::uint8_t byte : PackStrikes(strikes)) {
            Line += Hex[byte >> 4];
            Line += Hex[byte & 15];
        }
    }
    template <class Value> void operator()(const Value& value) {
        Start();
        Line += std::to_string(static_cast<std::int64_t>(value));
    }
    std::string Line;

private:
    void Start() {
        if (!First) Line += '\t';
        First = false;
    }
    bool First = true;
};

class LineReader {
public:
    explicit LineReader(std::string_view line) : Rest(line) {}

    void operator()(std::string& text) {
        const std::string_view field = Next();
        text.clear();
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (field[i] != '\\') {
                text += field[i];
                continue;
            }
            const char escaped = ++i < field.size() ? field[i] : '?';
            if (escaped == 't' || escaped == 'n' || escaped == 'r' || escaped == '\\')
                text += escaped == 't' ? '\t' : escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : '\\';
            else
                Whole = false;
        }
    }
    void operator()(std::vector<StrikeEntry>& strikes) {
        const std::string_view field = Next();
        std::vector<std::uint8_t> bytes;
        if (field.size() % 2 != 0) Whole = false;
        for (std::size_t i = 0; i + 1 < field.size(); i += 2) {
            const int high = HexValue(field[i]), low = HexValue(field[i + 1]);
            if (high < 0 || low < 0) Whole = false;
            bytes.push_back(static_cast<std::uint8_t>((high << 4) | (low & 15)));
        }
        strikes = UnpackStrikes(bytes);
    }
    template <class Value> void operator()(Value& value) {
        using Number = typename std::conditional_t<std::is_enum_v<Value>, std::underlying_type<Value>,
                                                   std::type_identity<Value>>::type;
        const std::string_view field = Next();
        std::int64_t number = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
        if (error != std::errc() || end != field.data() + field.size() ||
            number < static_cast<std::int64_t>(std::numeric_limits<Number>::min()) ||
            number > static_cast<std::int64_t>(std::numeric_limits<Number>::max()))
            Whole = false;
        else
            value = static_cast<Value>(number);
    }
    // Every field read and nothing left over.
    bool Done() const { return Whole && AtEnd; }

private:
    std::string_view Next() {
        if (AtEnd) {
            Whole = false;
            return {};
        }
        const std::size_t tab = Rest.find('\t');
        const std::string_view field = Rest.substr(0, tab);
        if (tab == std::string_view::npos)
            AtEnd = true;
        else
            Rest.remove_prefix(tab + 1);
        return field;
    }
    std::string_view Rest;
    bool AtEnd = false;
    bool Whole = true;
};

} // namespace

std::string EncodePendingPlay(const PendingPlay& play) {
    LineWriter writer;
    ForEachField(play, writer);
    char check[9];
    std::snprintf(check, sizeof check, "%08x", static_cast<unsigned>(CheckOf(writer.Line)));
    return std::string(check) + " " + writer.Line;
}

bool DecodePendingPlay(std::string_view line, PendingPlay& play) {
    if (line.size() < 9 || line[8] != ' ') return false;
    std::uint32_t check = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + 8, check, 16);
    const std::string_view fields = line.substr(9);
    if (error != std::errc() || end != line.data() + 8 || check != CheckOf(fields)) return false;
    LineReader reader(fields);
    ForEachField(play, reader);
    play.Play.SongKey = play.Song.Key;
    return reader.Done();
}

} // namespace tamtara
