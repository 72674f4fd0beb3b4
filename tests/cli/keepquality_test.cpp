// --keep-quality through the built program: which path each picture took in
// the JSON result, and the stored key keepq.
#include "core/job/settingsstore.h"

#include "support/clirunner.h"
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QByteArray pictureAs(const char* format, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 9) % 256, (y * 4) % 256, (x + y) % 256));
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&device, format, 80));
    return bytes;
}

// The "path" of every file of a --json run, in order; null as "null".
QStringList pathsOf(const CliRun& run) {
    QStringList paths;
    for (const QJsonValue file : QJsonDocument::fromJson(run.out).array()) {
        const QJsonValue path = file.toObject().value("path");
        paths << (path.isNull() ? QStringLiteral("null") : path.toString());
    }
    return paths;
}

} // namespace

TEST(KeepQuality, JsonSaysWhichPathEachPictureTook) {
    TempFolder temp;
    const QString jpeg = temp.write("a.jpg", pictureAs("JPEG", 120, 80));
    const QString png = temp.write("b.png", pictureAs("PNG", 50, 40));
    const QString missing = temp.file("fehlt.jpg");
    const QStringList common{"--output", "out", "--text", "(c) A", "--json"};

    CliRun run = runCliStamp(
        common + QStringList{"--notice", "(c) Sichtbar", "--keep-quality", jpeg, png, missing},
        temp.path());
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString(); // the missing file
    EXPECT_EQ(pathsOf(run), (QStringList{"keep-quality", "quality-100", "null"}));
    // the new key comes last; the others keep their order
    EXPECT_TRUE(run.out.contains("\"ok\":true,\"error\":null,\"path\":\"keep-quality\"}"))
        << run.out.toStdString();
    EXPECT_EQ(QImage(temp.file("out/a.jpg"), "JPEG").size(), QSize(120, 100));

    run = runCliStamp(common + QStringList{"--notice", "(c) Sichtbar", jpeg}, temp.path());
    EXPECT_EQ(pathsOf(run), QStringList{"quality-100"});
    run = runCliStamp(common + QStringList{"--no-notice", "--keep-quality", jpeg}, temp.path());
    EXPECT_EQ(pathsOf(run), QStringList{"null"});

    run = runCliStamp({"--keep-quality", "--no-keep-quality", jpeg}, temp.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--keep-quality und --no-keep-quality")) << run.err.toStdString();
    // the plain output stays as it was: nothing on standard output
    run = runCliStamp({"--output", "out", "--notice", "N", "--keep-quality", jpeg}, temp.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

// --keep-quality --save-defaults stores keepq; later runs follow it until
// --no-keep-quality is given.
TEST(KeepQuality, SaveDefaultsStoresTheKeepqKey) {
    TempFolder temp;
    const QString jpeg = temp.write("a.jpg", pictureAs("JPEG", 64, 48));
    const SettingsStore store;
    ASSERT_EQ(store.GetSetting("Vendrake", "Stampora", "keepq", "-"), "-");
    const CliRun saving = runCliStamp({"--output", "one", "--text", "(c) A", "--notice", "N",
                                       "--keep-quality", "--save-defaults", jpeg},
                                      temp.path());
    ASSERT_EQ(saving.exitCode, 0) << saving.err.toStdString();
    EXPECT_EQ(store.GetSetting("Vendrake", "Stampora", "keepq", "-"), "True");
    EXPECT_EQ(pathsOf(runCliStamp({"--output", "two", "--json", jpeg}, temp.path())),
              QStringList{"keep-quality"});
    EXPECT_EQ(
        pathsOf(runCliStamp({"--output", "two", "--json", "--no-keep-quality", jpeg}, temp.path())),
        QStringList{"quality-100"});
    EXPECT_EQ(store.GetSetting("Vendrake", "Stampora", "keepq", "-"), "True");
    QFile::remove(store.filePath("Vendrake"));
}
