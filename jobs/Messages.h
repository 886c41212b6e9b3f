#pragma once

#include <string>
#include <vector>

namespace kitloom {

enum class MessageKind { Error, Success };

struct SystemMessage {
    MessageKind kind;
    std::string text;
    bool operator==(const SystemMessage&) const = default;
};

// Where the outcomes the user is told about go: message boxes, or terminal lines.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void show(MessageKind kind, const std::string& text) = 0;
};

inline void showError(Messages& messages, const std::string& text) { messages.show(MessageKind::Error, text); }
inline void showSuccess(Messages& messages, const std::string& text) { messages.show(MessageKind::Success, text); }
inline void show(Messages& messages, const SystemMessage& message) { messages.show(message.kind, message.text); }
inline void showAll(Messages& messages, const std::vector<SystemMessage>& shown)
{
    for (const SystemMessage& message : shown)
        show(messages, message);
}

}  // namespace kitloom
