#pragma once
// "Copyright setzen" on the step-3 page as a user starts it, and the wait for
// the run's end in the bench's own event loop (the click returns at once).

#include "gui/wizard/form3.h"
#include "gui/wizard/wizardpages.h"

#include <QEventLoop>

inline void runStep3() {
    QEventLoop loop;
    QObject::connect(&form3(), &Form3::runFinished, &loop, &QEventLoop::quit);
    form3().Command5_Click();
    if (form3().isRunning())
        loop.exec();
}
