#include "gui/framework/programend.h"

#include <QApplication>
#include <QWidget>

namespace {
bool ending = false;
std::function<void()>& endAction() {
    static std::function<void()> action;
    return action;
}

void endForReal() {
    // Hiding sends no close notifications; the pages are destroyed after the
    // event loop has returned.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}
} // namespace

void endProgram() {
    ending = true;
    if (endAction())
        endAction()();
    else
        endForReal();
}

bool programEnding() {
    return ending;
}

void setProgramEndAction(std::function<void()> action) {
    endAction() = std::move(action);
    ending = false;
}
