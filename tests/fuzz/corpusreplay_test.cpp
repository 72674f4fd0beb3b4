// Replays every stored fuzz input (seeds and the crashers found once) through
// its target; a wrong result or a sanitizer report ends the program.
#include "fuzztargets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Target {
    const char* folder; // under tests/corpus/
    int (*run)(const std::uint8_t*, std::size_t);
};

const Target kTargets[] = {
    {"blockreader", fuzzBlockReader},
    {"textfile", fuzzCopyrightTextFile},
    {"picture", fuzzPicture},
};

} // namespace

TEST(CorpusReplay, EveryStoredInputRunsThroughItsTarget) {
    for (const Target& target : kTargets) {
        const QDir folder(QStringLiteral(STAMPORA_CORPUS "/") + QLatin1String(target.folder));
        const QStringList names = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
        EXPECT_FALSE(names.isEmpty()) << target.folder << ": no inputs";
        for (const QString& name : names) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray bytes = file.readAll();
            SCOPED_TRACE(std::string(target.folder) + "/" + name.toStdString());
            // one input at a time, so a report names the input just started
            std::fprintf(stderr, "%s/%s\n", target.folder, qPrintable(name));
            EXPECT_EQ(target.run(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 std::size_t(bytes.size())),
                      0);
        }
    }
}
