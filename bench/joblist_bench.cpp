// Step 1 on a folder of 10 000 pictures: listing it through the pattern (every
// keystroke in the filter field does this) and "++" adding every file at once.
#include "core/job/drives.h"
#include "core/job/filepattern.h"
#include "core/job/joblist.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int FileCount = 10000;

// 10 000 small pictures, and as many text files the pattern leaves out.
const QTemporaryDir& bigFolder() {
    static const QTemporaryDir folder = [] {
        QTemporaryDir made;
        for (int i = 0; i < FileCount; ++i) {
            for (const char* extension : {".jpg", ".txt"}) {
                QFile file(made.filePath(QStringLiteral("bild %1%2").arg(i).arg(extension)));
                if (file.open(QIODevice::WriteOnly))
                    file.write("x");
            }
        }
        return made;
    }();
    return folder;
}

void BM_ListMatchingFiles(benchmark::State& state) {
    const QString folder = bigFolder().path();
    const FilePattern pattern(QStringLiteral("*.jp*g;*.gif;*.png"));
    for (auto _ : state) {
        const QStringList names = listMatchingFiles(folder, pattern);
        if (names.size() != FileCount)
            state.SkipWithError("wrong number of files listed");
    }
    state.SetItemsProcessed(state.iterations() * FileCount);
}
BENCHMARK(BM_ListMatchingFiles)->Unit(benchmark::kMillisecond);

void BM_AddAllToJobList(benchmark::State& state) {
    const QString folder = bigFolder().path();
    QStringList paths;
    for (const QString& name :
         listMatchingFiles(folder, FilePattern(QStringLiteral("*.jp*g;*.gif;*.png"))))
        paths.append(joinFolderAndName(folder, name));
    for (auto _ : state) {
        JobList list;
        int inserts = 0;
        QObject::connect(&list, &JobList::rowsInserted, [&inserts] { ++inserts; });
        list.add(paths);
        if (inserts != 1 || list.count() != FileCount)
            state.SkipWithError("the batch was not one insert");
    }
    state.SetItemsProcessed(state.iterations() * FileCount);
}
BENCHMARK(BM_AddAllToJobList)->Unit(benchmark::kMillisecond);

} // namespace
