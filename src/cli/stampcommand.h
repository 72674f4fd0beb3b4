#pragma once
// "stampora-cli stamp [options] FILE...": stamps files as the step-3 run does,
// with the stored options as defaults, on several threads, without a display.

// Runs the command; argv[1] is "stamp". Creates its own (offscreen) application
// object, so the dispatcher must not have created one. Returns the exit code:
// 0 every file stamped, 1 some failed, 2 usage error or failure before the first file.
int StampCommandMain(int argc, char** argv);
