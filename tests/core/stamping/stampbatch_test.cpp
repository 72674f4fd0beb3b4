#include "core/stamping/stampbatch.h"

#include "support/testsupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

std::vector<QByteArray> outputsIn(const QString& folder) {
    std::vector<QByteArray> bytes;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        bytes.push_back(name.toUtf8() + ":" + readAll(folder + "/" + name));
    return bytes;
}

} // namespace

// Many entries, many of them sharing output names, some missing: four threads
// leave the same files and the same outcomes as one.
TEST(StampBatch, ParallelRunEqualsOneAfterTheOther) {
    TempFolder temp;
    std::vector<StampRequest> base;
    for (int i = 0; i < 60; ++i) {
        const QString name = QString("pic%1.jpg").arg(i % 7);
        const QString source = i % 11 == 5
                                   ? temp.file(QString("src%1/%2").arg(i).arg(name)) // missing
                                   : temp.write(QString("src%1/%2").arg(i).arg(name),
                                                QByteArray(1000 + i * 37, char('a' + i % 26)));
        base.push_back({source, {}, "(C)", {}, {}});
    }
    std::vector<std::vector<FileOutcome>> results;
    std::vector<std::vector<QByteArray>> files;
    for (const int threads : {1, 4}) {
        const QString out = temp.file(QString("out%1/").arg(threads));
        QDir().mkpath(out);
        std::vector<StampRequest> requests = base;
        for (StampRequest& r : requests)
            r.outputFolder = out;
        std::vector<std::size_t> finished;
        results.push_back(stampBatch(
            requests, threads, [&](std::size_t i, const FileOutcome&) { finished.push_back(i); }));
        EXPECT_EQ(finished.size(), requests.size());
        files.push_back(outputsIn(out));
    }
    ASSERT_EQ(results[0].size(), results[1].size());
    for (std::size_t i = 0; i < results[0].size(); ++i) {
        EXPECT_EQ(results[0][i].ok, results[1][i].ok) << i;
        EXPECT_EQ(results[0][i].error, results[1][i].error) << i;
        EXPECT_EQ(results[0][i].source, results[1][i].source) << i;
    }
    EXPECT_EQ(files[0], files[1]);
    EXPECT_EQ(files[0].size(), 7u);
}
