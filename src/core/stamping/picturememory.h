#pragma once
// The memory of the pictures a run has in flight: one budget per run, sized by
// what the process can have, and the share each picture takes of it while its
// pixels are held. A picture that does not fit waits for others to finish.

#include "core/base/memorygate.h"

#include <QString>
#include <memory>

// The budget for a run with up to `filesAtOnce` files in flight: the memory
// the process can still have, less what its threads and the program need.
std::shared_ptr<MemoryGate> pictureMemoryGate(int filesAtOnce);

// How many of `wanted` files may be in flight at once when each needs a thread
// of its own: the address space a thread reserves (its stack and malloc arena)
// beside the program must fit what the process can have. At least 1.
int filesAtOnceWithinMemory(int wanted);

// The bytes that giving the picture at `path` its notice holds at the most
// (decoded picture, composed buffer, encoder), from its header; 0 for a file
// that is no picture or one the decoder refuses before decoding.
qint64 noticeMemoryCost(const QString& path, bool keepQuality);
