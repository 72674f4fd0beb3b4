#pragma once
// Finding the block marker in a file's bytes: the one hot loop of the reader.

#include <cstddef>

// Position of the first block marker that starts at or after `from`, or `size`
// when there is none. Compares byte for byte, case-sensitively.
std::size_t findBlockMarker(const char* data, std::size_t size, std::size_t from);
