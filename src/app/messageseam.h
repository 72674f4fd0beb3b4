#pragma once
// The message seam: every message box of the program goes through here, so the
// core can report without windows and tests can record instead of blocking.

#include <QString>

enum class MessageIcon { None, Information, Warning, Critical };

struct MessageBoxRequest {
    QString text;
    QString title = QStringLiteral("Stampora"); // a box without a title of its own
    MessageIcon icon = MessageIcon::None;
};

class MessageSeam {
public:
    virtual ~MessageSeam() = default;
    // Shows a modal box with a single OK button and returns when it is closed.
    virtual void show(const MessageBoxRequest& request) = 0;
};

// The seam in force. Until a page installs its own, messages go to standard
// error (the command-line program keeps it so). Safe to call from any thread.
MessageSeam& messageSeam();
// Installs a seam (not owned); nullptr restores the standard-error seam.
void setMessageSeam(MessageSeam* seam);

inline void showMessage(const QString& text, MessageIcon icon = MessageIcon::None,
                        const QString& title = QStringLiteral("Stampora")) {
    messageSeam().show({text, title, icon});
}
