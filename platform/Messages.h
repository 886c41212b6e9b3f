#pragma once

#include <string>

namespace kitloom {

enum class MessageKind { Error, Success };

// Where every outcome the user is told about goes.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void show(MessageKind kind, const std::string& text) = 0;
};

inline void showError(Messages& messages, const std::string& text) { messages.show(MessageKind::Error, text); }
inline void showSuccess(Messages& messages, const std::string& text) { messages.show(MessageKind::Success, text); }

}  // namespace kitloom
