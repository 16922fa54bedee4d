// Messages addressed to the player (warnings, errors) from layers that have no window of their
// own. The application installs a handler that shows a message box; until then they go to stderr.
#pragma once

#include <functional>
#include <string>

namespace tamtara {

enum class MessageKind { Information, Warning, Error };

using UserMessageHandler =
    std::function<void(MessageKind kind, const std::string& caption, const std::string& text)>;

// Installs handler and returns the one it replaces; an empty handler restores the default,
// which prints "caption: text" on stderr.
UserMessageHandler SetUserMessageHandler(UserMessageHandler handler);

void ShowUserMessage(MessageKind kind, const std::string& caption, const std::string& text);

} // namespace tamtara
