#pragma once
// Ending the program: every end path (end buttons, closing any page) comes here.

#include <functional>

// Ends the program at once: no question, nothing saved, every page gone.
void endProgram();
// True once endProgram() has been called: a long run that yields to the event
// loop checks it and stops at once.
bool programEnding();

// Tests replace what ending does (the default hides every window and leaves
// the event loop); an empty action restores the default. Clears the flag.
void setProgramEndAction(std::function<void()> action);
