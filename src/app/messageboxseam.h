#pragma once
// The windows' message seam: a modal box with one OK button over the active page.

#include "app/messageseam.h"

class MessageBoxSeam final : public MessageSeam {
public:
    void show(const MessageBoxRequest& request) override; // from any thread

private:
    static void showHere(const MessageBoxRequest& request);
};
