// The process-wide message handler and its stderr default.
#include "base/UserMessage.h"

#include <iostream>
#include <mutex>
#include <utility>

namespace tamtara {

namespace {

void PrintMessage(MessageKind, const std::string& caption, const std::string& text) {
    std::cerr << caption << ": " << text << std::endl;
}

std::mutex& HandlerMutex() {
    static std::mutex mutex;
    return mutex;
}

UserMessageHandler& CurrentHandler() {
    static UserMessageHandler handler = PrintMessage;
    return handler;
}

} // namespace

UserMessageHandler SetUserMessageHandler(UserMessageHandler handler) {
    std::lock_guard lock(HandlerMutex());
    if (!handler) handler = PrintMessage;
    return std::exchange(CurrentHandler(), std::move(handler));
}

void ShowUserMessage(MessageKind kind, const std::string& caption, const std::string& text) {
    UserMessageHandler handler;
    {
        // Copied out so a handler that blocks (a modal box) never holds the lock.
        std::lock_guard lock(HandlerMutex());
        handler = CurrentHandler();
    }
    handler(kind, caption, text);
}

} // namespace tamtara
