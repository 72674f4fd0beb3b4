#pragma once
// The message seam: every message box of the pages goes through here, so tests
// can record instead of blocking. The core only describes messages
// (base/usermessage.h); the page that called shows them.

#include "core/base/usermessage.h"

class MessageSeam {
public:
    virtual ~MessageSeam() = default;
    // Shows a modal box with a single OK button and returns when it is closed.
    virtual void show(const MessageBoxRequest& request) = 0;
};

// The seam in force. Until the program installs its own, messages go to
// standard error. Safe to call from any thread.
MessageSeam& messageSeam();
// Installs a seam (not owned); nullptr restores the standard-error seam.
void setMessageSeam(MessageSeam* seam);

inline void showMessage(const QString& text, MessageIcon icon = MessageIcon::None,
                        const QString& title = QStringLiteral("Stampora")) {
    messageSeam().show({text, title, icon});
}
