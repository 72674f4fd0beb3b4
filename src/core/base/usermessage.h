#pragma once
// A message for the user as the core describes it: text, title and icon. The
// pages show it as a modal box with one OK button; the core never shows it.

#include <QString>

enum class MessageIcon { None, Information, Warning, Critical };

struct MessageBoxRequest {
    QString text;
    QString title = QStringLiteral("Stampora"); // a box without a title of its own
    MessageIcon icon = MessageIcon::None;
};
