#pragma once
// The exit codes every stampora-cli command uses.

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // a file could not be processed, or the output not written
inline constexpr int kExitUsage = 2;  // wrong call: unknown command or option, missing file
