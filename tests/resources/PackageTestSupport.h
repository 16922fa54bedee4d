// Helpers for package tests: building images in memory and capturing the header warning.
#pragma once

#include "base/UserMessage.h"
#include "resources/PackageWriter.h"

#include <cstring>
#include <string>
#include <vector>

namespace tamtara::test {

inline std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

inline void PutInt32At(std::vector<std::uint8_t>& image, std::size_t at, std::int32_t value) {
    auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        image[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(u >> (8 * i));
}

// Offset and Size fields of directory record index.
inline std::size_t OffsetField(int index) {
    return 14 + 264 * static_cast<std::size_t>(index) + 256;
}
inline std::size_t SizeField(int index) {
    return OffsetField(index) + 4;
}

// Records every user message while alive; restores the previous handler afterwards.
class MessageCapture {
public:
    struct Message {
        MessageKind Kind;
        std::string Caption;
        std::string Text;
    };
    MessageCapture() {
        Previous = SetUserMessageHandler(
            [this](MessageKind kind, const std::string& caption, const std::string& text) {
                Messages.push_back({kind, caption, text});
            });
    }
    ~MessageCapture() { SetUserMessageHandler(Previous); }
    std::vector<Message> Messages;

private:
    UserMessageHandler Previous;
};

} // namespace tamtara::test
