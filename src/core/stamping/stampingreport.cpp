#include "core/stamping/stampingreport.h"

#include <algorithm>

int StampingReport::failedCount() const {
    return static_cast<int>(
        std::count_if(files.begin(), files.end(), [](const FileOutcome& f) { return !f.ok; }));
}
