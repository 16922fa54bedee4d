// A small RTF reader for the readme: a single pass over the bytes with a stack of character
// formats, writing spans of Qt rich text.
#include "launcher/RtfReader.h"

#include <QColor>
#include <QStringDecoder>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace tamtara {

namespace {

// Font sizes in half points; anything outside is brought inside, so a hostile size cannot
// make the document unreadable or huge.
constexpr int SmallestHalfPoints = 8;
constexpr int LargestHalfPoints = 96;
constexpr int DefaultHalfPoints = 24;
// Deeper groups still count, but share the format of the deepest kept one.
constexpr std::size_t MaxGroupDepth = 256;

struct CharFormat {
    bool Bold = false;
    bool Italic = false;
    int HalfPoints = DefaultHalfPoints;
    int Colour = 0; // index into the colour table; 0 is the default colour
    // The font table's family of the font in use when it is a fixed-pitch one (\fmodern), so
    // tables written with spaces line up; empty for the reader's own proportional font.
    QString FixedFamily;
    bool operator==(const CharFormat&) const = default;
};

struct GroupState {
    CharFormat Format;
    int UnicodeSkip = 1; // fallback characters after each \uN
    bool Skip = false;   // a destination whose text is not shown
    bool ColourTable = false;
    bool FontTable = false;
};

// Destinations whose content is never document text.
bool IsHiddenDestination(const QByteArray& word) {
    static const char* const Names[] = {"fonttbl",      "stylesheet", "info",      "pict",
                                        "object",       "header",     "headerl",   "headerr",
                                        "headerf",      "footer",     "footerl",   "footerr",
                                        "footerf",      "footnote",   "listtable", "listoverridetable",
                                        "rsidtbl",      "generator",  "themedata", "colorschememapping",
                                        "latentstyles", "datastore",  "xmlnstbl",  "filetbl",
                                        "revtbl",       "field",      "fldinst",   "bkmkstart",
                                        "bkmkend",      "nonshppict"};
    return std::any_of(std::begin(Names), std::end(Names), [&](const char* name) { return word == name; });
}

class Reader {
public:
    explicit Reader(const QByteArray& rtf) : Input(rtf) { Groups.push_back({}); }

    QString Run() {
        while (Position < Input.size()) {
            const char c = Input[Position++];
            if (c == '{')
                OpenGroup();
            else if (c == '}')
                CloseGroup();
            else if (c == '\\')
                ControlSymbolOrWord();
            else if (c == '\r' || c == '\n')
                continue;
            else
                Text(c);
        }
        FlushBytes();
        CloseSpan();
        return "<html><body style=\"white-space: pre-wrap\">" + Html + "</body></html>";
    }

private:
    GroupState& State() { return Groups.back(); }

    void OpenGroup() {
        FlushBytes();
        if (Groups.size() >= MaxGroupDepth) {
            ++ExtraDepth;
            return;
        }
        Groups.push_back(State());
        Groups.back().ColourTable = false;
        GroupStart = true;
    }

    void CloseGroup() {
        FlushBytes();
        PendingSkip = 0;
        if (ExtraDepth > 0) {
            --ExtraDepth;
            return;
        }
        // A last colour without its closing semicolon still counts.
        if (State().ColourTable && ColourGiven) FinishColourEntry();
        // An unbalanced closing brace at the outermost level is ignored.
        if (Groups.size() > 1) Groups.pop_back();
        GroupStart = false;
    }

    void ControlSymbolOrWord() {
        if (Position >= Input.size()) return;
        const char c = Input[Position];
        // Text read so far takes the format it was written in; only hex bytes may continue a
        // character that is still incomplete.
        if (c != '\'') FlushBytes();
        if (!IsLetter(c)) {
            ++Position;
            ControlSymbol(c);
            return;
        }
        QByteArray word;
        while (Position < Input.size() && IsLetter(Input[Position])) {
            if (word.size() < 32) word += Input[Position];
            ++Position;
        }
        std::optional<long long> parameter;
        bool negative = false;
        if (Position < Input.size() && Input[Position] == '-') {
            negative = true;
            ++Position;
        }
        int digits = 0;
        long long value = 0;
        while (Position < Input.size() && Input[Position] >= '0' && Input[Position] <= '9') {
            // Longer numbers are read to their end but keep the first ten digits.
            if (digits < 10) value = value * 10 + (Input[Position] - '0');
            ++digits;
            ++Position;
        }
        if (digits > 0) parameter = negative ? -value : value;
        if (Position < Input.size() && Input[Position] == ' ') ++Position;
        ControlWord(word, parameter);
        GroupStart = false;
    }

    void ControlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Text(c);
            break;
        case '~':
            Character(QChar(0x00A0));
            break;
        case '_':
            Character(QChar('-'));
            break;
        case '\'':
            HexByte();
            break;
        case '*':
            // Only a destination a reader knows may be read; this reader knows none of these.
            if (GroupStart) State().Skip = true;
            break;
        case '\r':
        case '\n':
            Paragraph();
            break;
        default:
            break;
        }
        GroupStart = false;
    }

    void ControlWord(const QByteArray& word, std::optional<long long> parameter) {
        GroupState& state = State();
        const long long value = parameter.value_or(1);
        if (word == "fonttbl") {
            state.Skip = true;
            state.FontTable = true;
        } else if (state.FontTable && !state.ColourTable) {
            if (word == "f" && parameter) {
                FontEntry = *parameter;
                FontName.clear();
            } else if (word == "fmodern") {
                FixedFonts.push_back({FontEntry, {}});
            }
        } else if (GroupStart && IsHiddenDestination(word)) {
            state.Skip = true;
        } else if (word == "colortbl") {
            state.Skip = true;
            state.ColourTable = true;
            ColourTable.clear();
            NextColour = QColor(0, 0, 0);
            ColourGiven = false;
        } else if (state.ColourTable) {
            const int channel = static_cast<int>(std::clamp(value, 0LL, 255LL));
            if (word == "red")
                NextColour.setRed(channel);
            else if (word == "green")
                NextColour.setGreen(channel);
            else if (word == "blue")
                NextColour.setBlue(channel);
            ColourGiven = true;
        } else if (word == "ansicpg" && parameter) {
            SetCodePage(*parameter);
        } else if (word == "uc" && parameter) {
            state.UnicodeSkip = static_cast<int>(std::clamp(*parameter, 0LL, 16LL));
        } else if (state.Skip) {
            return;
        } else if (word == "u" && parameter) {
            UnicodeCharacter(*parameter);
        } else if (word == "par" || word == "line") {
            Paragraph();
        } else if (word == "tab") {
            Character(QChar('\t'));
        } else if (word == "b") {
            state.Format.Bold = value != 0;
        } else if (word == "i") {
            state.Format.Italic = value != 0;
        } else if (word == "fs") {
            state.Format.HalfPoints =
                static_cast<int>(std::clamp(parameter.value_or(DefaultHalfPoints),
                                            (long long)SmallestHalfPoints, (long long)LargestHalfPoints));
        } else if (word == "cf") {
            state.Format.Colour = static_cast<int>(std::clamp(value, 0LL, 1LL << 16));
        } else if (word == "f") {
            state.Format.FixedFamily.clear();
            for (const auto& [entry, family] : FixedFonts)
                if (entry == value) state.Format.FixedFamily = family;
        } else if (word == "plain") {
            state.Format = CharFormat{};
        }
    }

    void UnicodeCharacter(long long code) {
        FlushBytes();
        // Values above 32767 are written negative.
        if (code < 0) code += 65536;
        if (code >= 0 && code <= 0xFFFF) Character(QChar(static_cast<char16_t>(code)));
        PendingSkip = State().UnicodeSkip;
    }

    void HexByte() {
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            if (Position >= Input.size()) return;
            const int digit = HexDigit(Input[Position]);
            if (digit < 0) return;
            value = value * 16 + digit;
            ++Position;
        }
        if (PendingSkip > 0) {
            --PendingSkip;
            return;
        }
        if (State().ColourTable || State().Skip) return;
        Bytes += static_cast<char>(value);
    }

    void Text(char c) {
        if (State().FontTable && !State().ColourTable) {
            // A font's name runs to its semicolon; only fixed-pitch ones are kept.
            if (c == ';') {
                if (!FixedFonts.empty() && FixedFonts.back().first == FontEntry &&
                    FixedFonts.back().second.isEmpty())
                    FixedFonts.back().second = QString::fromLatin1(FontName.trimmed());
            } else if (FontName.size() < 64) {
                FontName += c;
            }
            return;
        }
        if (State().ColourTable) {
            if (c == ';') FinishColourEntry();
            return;
        }
        if (PendingSkip > 0) {
            --PendingSkip;
            return;
        }
        if (State().Skip) return;
        Bytes += c;
    }

    void FinishColourEntry() {
        ColourTable.push_back(ColourGiven ? std::optional<QColor>(NextColour) : std::nullopt);
        NextColour = QColor(0, 0, 0);
        ColourGiven = false;
    }

    void Paragraph() {
        if (State().Skip) return;
        FlushBytes();
        PendingSkip = 0;
        CloseSpan();
        Html += "<br />";
    }

    void Character(QChar character) {
        if (State().Skip) return;
        FlushBytes();
        Append(QString(character));
    }

    // Text bytes are kept until a whole run is there: a double-byte character may come as two
    // hex escapes.
    void FlushBytes() {
        if (Bytes.isEmpty()) return;
        QString text;
        if (Decoder && Decoder->isValid())
            text = Decoder->decode(Bytes);
        else
            text = QString::fromLatin1(Bytes);
        Bytes.clear();
        Append(text);
    }

    void Append(const QString& text) {
        if (text.isEmpty()) return;
        const CharFormat& format = Groups.back().Format;
        if (!SpanOpen || !(SpanFormat == format)) {
            CloseSpan();
            OpenSpan(format);
        }
        Html += text.toHtmlEscaped();
    }

    void OpenSpan(const CharFormat& format) {
        QString style = QString("font-size:%1pt;").arg(format.HalfPoints / 2.0);
        if (format.Bold) style += "font-weight:700;";
        if (format.Italic) style += "font-style:italic;";
        if (!format.FixedFamily.isEmpty())
            style += "font-family:'" + format.FixedFamily.toHtmlEscaped().remove('\'') + "';";
        if (format.Colour > 0 && format.Colour < static_cast<int>(ColourTable.size()) &&
            ColourTable[static_cast<std::size_t>(format.Colour)])
            style += "color:" + ColourTable[static_cast<std::size_t>(format.Colour)]->name() + ";";
        Html += "<span style=\"" + style + "\">";
        SpanOpen = true;
        SpanFormat = format;
    }

    void CloseSpan() {
        if (!SpanOpen) return;
        Html += "</span>";
        SpanOpen = false;
    }

    void SetCodePage(long long codePage) {
        FlushBytes();
        Decoder = std::make_unique<QStringDecoder>(QByteArray("cp") + QByteArray::number(codePage));
        if (!Decoder->isValid()) Decoder = std::make_unique<QStringDecoder>(QStringDecoder::Latin1);
    }

    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    const QByteArray& Input;
    qsizetype Position = 0;
    std::vector<GroupState> Groups;
    std::size_t ExtraDepth = 0;
    bool GroupStart = false;
    int PendingSkip = 0;
    QByteArray Bytes;
    // Windows-1252 until the document names its own code page.
    std::unique_ptr<QStringDecoder> Decoder = std::make_unique<QStringDecoder>("cp1252");
    std::vector<std::optional<QColor>> ColourTable;
    // The font table's fixed-pitch fonts: number and family.
    std::vector<std::pair<long long, QString>> FixedFonts;
    long long FontEntry = 0;
    QByteArray FontName;
    QColor NextColour;
    bool ColourGiven = false;
    QString Html;
    bool SpanOpen = false;
    CharFormat SpanFormat;
};

} // namespace

QString RtfToHtml(const QByteArray& rtf) {
    return Reader(rtf).Run();
}

} // namespace tamtara
