#pragma once
// Memory for whole pictures. Large blocks come straight from the system, zeroed,
// and ask for huge pages, so touching them the first time costs a fraction of
// the page faults of ordinary memory; a few given back (up to 64 MiB) are kept
// and handed out again, zeroed, for a picture of the same size.

#include <QtGlobal>
#include <cstddef>

// A zeroed block of `bytes` bytes (more than 0), or nullptr when it cannot be had.
uchar* allocateLargeBlock(std::size_t bytes);
// Gives back a block of allocateLargeBlock with the same `bytes`; nullptr is ignored.
void releaseLargeBlock(uchar* block, std::size_t bytes);
