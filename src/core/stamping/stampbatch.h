#pragma once
// Stamping many files on several threads with the same results as one after the
// other: requests that touch a common path (the same output name, above all) go
// to one worker and run in list order, so the later entry still wins.

#include "core/stamping/fileoutcome.h"
#include "core/stamping/stampfile.h"

#include <cstddef>
#include <functional>
#include <vector>

// Outcomes in the order of `requests`. `onFinished` (may be empty) is called
// with each request's index as it finishes, one call at a time, from the workers.
std::vector<FileOutcome>
stampBatch(const std::vector<StampRequest>& requests, int threads,
           const std::function<void(std::size_t index, const FileOutcome&)>& onFinished = {});
