#pragma once
// The windows' message seam: a modal box with one OK button centred on the page on screen.

#include "gui/framework/messageseam.h"

class MessageBoxSeam final : public MessageSeam {
public:
    void show(const MessageBoxRequest& request) override; // on the thread of the windows
};
