#pragma once

#include "jobs/Messages.h"

namespace kitloom {

// Modal message boxes without an owner window: "ERROR" with the exclamation icon,
// "SUCCESS" with none.
class MessageBoxes final : public Messages {
public:
    void show(MessageKind kind, const std::string& text) override;
};

}  // namespace kitloom
