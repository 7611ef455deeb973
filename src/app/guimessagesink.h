#pragma once

#include "base/messagesink.h"

namespace ovra {

// Message boxes, the way a running clock tells its user about a failure.
class GuiMessageSink final : public MessageSink {
public:
    void showMessage(const QString& text, const QString& title, MessageIcon icon) override;
};

} // namespace ovra
