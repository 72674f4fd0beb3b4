#pragma once
// What the process may hold at once: open files and memory. Runs that stamp
// many files on many threads size themselves by these, so that the number of
// threads never changes which files are stamped.

#include <QtGlobal>

// Raises the soft limit of open files to the hard limit; called first thing
// by both programs. Nothing happens when it cannot be raised.
void raiseOpenFileLimit();

// How many files may be worked on at once, at most `wanted` (at least 1), when
// each holds up to `descriptorsPerFile` open: what the soft limit of open files
// leaves beside the descriptors open now and a reserve for the program itself.
int filesAtOnceWithinOpenFileLimit(int wanted, int descriptorsPerFile);

// The bytes this process can still have: the smallest of the system's
// available memory, what its control group's limit leaves, and what its
// address-space limit leaves beside the address space in use now.
// `extraAddressSpace` is subtracted from the last (address space that threads
// about to start will reserve). A very large number when nothing limits.
qint64 memoryAvailableToProcess(qint64 extraAddressSpace = 0);
