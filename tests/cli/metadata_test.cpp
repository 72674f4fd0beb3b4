// The metadata of stamped pictures, made and read back by exiftool as the
// independent tool: kept through the re-encode, left out on request, and the
// copyright written into EXIF, XMP and IPTC.
#include "core/imaging/copyrightmetadata.h"
#include "core/job/settingsstore.h"
#include "core/stamping/copyrightblock.h"
#include "support/testsupport.h"

#include "support/clirunner.h"
#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QString kCopyright = QStringLiteral("© 2026 Jörg Müller, Straße");
// the block holds it in Windows-1252
const QByteArray kBlock = copyrightBlockBytes("\xA9 2026 J\xF6rg M\xFCller, Stra\xDF"
                                              "e");

QByteArray runExiftool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("exiftool"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << "exiftool " << arguments.join(' ').toStdString() << ": "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}

// Every tag exiftool finds, by group and name ("IFD0:Make"), values as numbers where it can.
QJsonObject tagsOf(const QString& path) {
    const QJsonDocument json =
        QJsonDocument::fromJson(runExiftool({"-j", "-G1", "-n", "-a", path}));
    return json.array().at(0).toObject();
}

// Left half red, right half blue, so a turn shows.
QImage twoColours(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? qRgb(220, 20, 20) : qRgb(20, 20, 220));
    return image;
}

// A photo as a camera and a photo library leave it: EXIF with camera, date,
// GPS, orientation 6 and a thumbnail, XMP, IPTC, a colour profile, a JFIF
// density and a comment.
QString richPhoto(const TempFolder& folder) {
    const QString photo =
        folder.write("fotos/urlaub.jpg", encodedPicture(twoColours(300, 200), "JPEG", 92));
    const QString thumb =
        folder.write("daumen.jpg", encodedPicture(twoColours(32, 24), "JPEG", 92));
    const QString icc = folder.write("adobe.icc", QColorSpace(QColorSpace::AdobeRgb).iccProfile());
    runExiftool({"-q", "-overwrite_original", "-Make=Testkamera", "-Model=Modell X",
                 "-DateTimeOriginal=2024:05:06 07:08:09", "-GPSLatitude=48.1", "-GPSLatitudeRef=N",
                 "-GPSLongitude=11.5", "-GPSLongitudeRef=E", "-Orientation#=6",
                 "-ThumbnailImage<=" + thumb, "-XMP-dc:Creator=Anna Fotografin",
                 "-IPTC:Keywords=Urlaub", "-ICC_Profile<=" + icc, "-Comment=Ein Kommentar",
                 "-JFIF:XResolution=300", "-JFIF:YResolution=300", "-JFIF:ResolutionUnit=inches",
                 photo});
    return photo;
}

int blocksIn(const QString& path) {
    const CopyrightScan scan = ReadCopyrightBlocks(path);
    return int(scan.size());
}

} // namespace

TEST(Metadata, KeptThroughTheNoticeTurnedUprightWithoutTheThumbnail) {
    TempFolder temp;
    const QString photo = richPhoto(temp);
    const QJsonObject before = tagsOf(photo);
    ASSERT_EQ(before["IFD0:Orientation"].toInt(), 6);
    ASSERT_TRUE(before.contains("IFD1:ThumbnailImage"));

    const CliRun run = runCliStamp(
        {"--output", "out", "--text", "(c) Anna", "--notice", "Hinweis", photo}, temp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QString output = temp.file("out/urlaub.jpg");
    const QJsonObject after = tagsOf(output);
    for (const char* tag :
         {"IFD0:Make", "IFD0:Model", "ExifIFD:DateTimeOriginal", "GPS:GPSLatitude",
          "GPS:GPSLongitude", "XMP-dc:Creator", "IPTC:Keywords", "ICC-header:ColorSpaceData",
          "File:Comment", "JFIF:XResolution", "JFIF:ResolutionUnit"})
        EXPECT_EQ(after[tag], before[tag]) << tag;
    EXPECT_EQ(after["IFD0:Orientation"].toInt(), 1);
    EXPECT_FALSE(after.contains("IFD1:ThumbnailImage"));
    EXPECT_FALSE(after.contains("IFD1:ThumbnailOffset"));
    // turned upright: 200 wide, 300 high and the strip; width and height tags agree
    EXPECT_EQ(after["File:ImageWidth"].toInt(), 200);
    EXPECT_EQ(after["File:ImageHeight"].toInt(), 320);
    EXPECT_EQ(after["ExifIFD:ExifImageWidth"].toInt(), 200);
    EXPECT_EQ(after["ExifIFD:ExifImageHeight"].toInt(), 320);
    // the red half of the side-on photo is now at the top
    const QImage picture(output);
    EXPECT_GT(qRed(picture.pixel(100, 10)), 150);
    EXPECT_GT(qBlue(picture.pixel(100, 290)), 150);
    EXPECT_EQ(blocksIn(output), 1);
    EXPECT_FALSE(after.contains("XMP-dc:Rights")); // no --metadata, no stored meta

    // --strip-metadata: none of it
    const CliRun stripped = runCliStamp(
        {"--output", "bare", "--text", "(c) Anna", "--notice", "H", "--strip-metadata", photo},
        temp.path());
    ASSERT_EQ(stripped.exitCode, 0) << stripped.err.toStdString();
    const QJsonObject bare = tagsOf(temp.file("bare/urlaub.jpg"));
    for (const QString& key : bare.keys())
        EXPECT_TRUE(key.startsWith("File:") || key.startsWith("ExifTool:") ||
                    key.startsWith("System:") || key.startsWith("Composite:") ||
                    key == "SourceFile" || key.startsWith("JFIF:"))
            << key.toStdString();
    EXPECT_EQ(bare["JFIF:ResolutionUnit"].toInt(), 0);
    EXPECT_FALSE(bare.contains("File:Comment"));
}

TEST(Metadata, CopyrightGoesIntoTheThreePlacesWithTheNoticeAndCopyOnly) {
    TempFolder temp;
    const QString photo = richPhoto(temp);
    const QByteArray photoBytes = readAll(photo);
    const CliRun withNotice = runCliStamp(
        {"--output", "notice", "--text", kCopyright, "--notice", "H", "--metadata", photo},
        temp.path());
    ASSERT_EQ(withNotice.exitCode, 0) << withNotice.err.toStdString();
    const CliRun copyOnly =
        runCliStamp({"--output", "copy", "--text", kCopyright, "--no-notice", "--metadata", photo},
                    temp.path());
    ASSERT_EQ(copyOnly.exitCode, 0) << copyOnly.err.toStdString();

    for (const char* folder : {"notice", "copy"}) {
        SCOPED_TRACE(folder);
        const QString output = temp.file(QString::fromLatin1(folder) + "/urlaub.jpg");
        const QJsonObject tags = tagsOf(output);
        EXPECT_EQ(tags["IFD0:Copyright"].toString(), kCopyright);
        EXPECT_EQ(tags["XMP-dc:Rights"].toString(), kCopyright);
        EXPECT_EQ(tags["XMP-xmpRights:Marked"].toVariant().toString().toLower(), "true");
        EXPECT_EQ(tags["IPTC:CopyrightNotice"].toString(), kCopyright);
        EXPECT_EQ(tags["IPTC:CodedCharacterSet"].toString(), "\x1b%G");
        EXPECT_EQ(tags["IFD0:Make"].toString(), "Testkamera");
        EXPECT_EQ(blocksIn(output), 1);
        EXPECT_TRUE(readAll(output).endsWith(kBlock));
    }
    // the copy's picture is the source's, byte for byte (the last scan is the
    // picture's, after the thumbnail's), and the source is untouched
    const QByteArray copy = readAll(temp.file("copy/urlaub.jpg"));
    const QByteArray picture = photoBytes.mid(photoBytes.lastIndexOf(QByteArray::fromHex("ffda")));
    EXPECT_TRUE(copy.endsWith(picture + kBlock));
    EXPECT_EQ(QImage::fromData(copy).convertToFormat(QImage::Format_RGB32),
              QImage::fromData(photoBytes).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(readAll(photo), photoBytes);

    // read back: three lines after the block entries, and in JSON
    const CliRun plain = runCli({"read", "--metadata", "copy/urlaub.jpg"}, temp.path());
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(
        QString::fromUtf8(plain.out),
        QStringLiteral("%1\nEXIF Copyright: %1\nXMP dc:rights: %1\nIPTC Copyright Notice: %1\n")
            .arg(kCopyright));
    const CliRun json = runCli(
        {"read", "--metadata", "--json", "notice/urlaub.jpg", "fotos/urlaub.jpg"}, temp.path());
    EXPECT_EQ(json.exitCode, 0);
    const QJsonArray files = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(files.size(), 2);
    const QJsonObject stampedFile = files[0].toObject();
    EXPECT_EQ(stampedFile.keys().size(), 5);
    const QJsonObject metadata = stampedFile["metadata"].toObject();
    EXPECT_EQ(metadata["exif_copyright"].toString(), kCopyright);
    EXPECT_EQ(metadata["xmp_rights"].toString(), kCopyright);
    EXPECT_EQ(metadata["iptc_copyright_notice"].toString(), kCopyright);
    const QJsonObject source = files[1].toObject()["metadata"].toObject();
    EXPECT_TRUE(source["exif_copyright"].isNull());
    EXPECT_TRUE(source["xmp_rights"].isNull());
    EXPECT_TRUE(source["iptc_copyright_notice"].isNull());
    EXPECT_TRUE(json.out.contains("\"metadata\": {\"exif_copyright\": "));
    // without --metadata the JSON is as it was
    const CliRun without = runCli({"read", "--json", "notice/urlaub.jpg"}, temp.path());
    EXPECT_FALSE(without.out.contains("metadata"));
}

TEST(Metadata, IptcNoticeIsCutAtACharacterBoundaryAndPngCopiesGetXmp) {
    TempFolder temp;
    // 127 ASCII bytes and then "ä" (2 bytes): the notice ends before the "ä"
    const QString longText = QString(127, QLatin1Char('x')) + QStringLiteral("äöü");
    const QString photo = temp.write("a.jpg", encodedPicture(twoColours(40, 30), "JPEG", 92));
    QImage png = twoColours(40, 30);
    png.save(temp.file("b.png"));
    const CliRun run = runCliStamp(
        {"--output", "out", "--text", longText, "--no-notice", "--metadata", photo, "b.png"},
        temp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject jpeg = tagsOf(temp.file("out/a.jpg"));
    EXPECT_EQ(jpeg["IPTC:CopyrightNotice"].toString(), QString(127, QLatin1Char('x')));
    EXPECT_EQ(jpeg["XMP-dc:Rights"].toString(), longText);
    const QJsonObject pngTags = tagsOf(temp.file("out/b.png"));
    EXPECT_EQ(pngTags["XMP-dc:Rights"].toString(), longText);
    EXPECT_EQ(QImage(temp.file("out/b.png")), QImage(temp.file("b.png")));
    EXPECT_EQ(blocksIn(temp.file("out/b.png")), 1);
}

TEST(Metadata, PngSourcesCarryExifXmpAndProfileIntoTheJpeg) {
    TempFolder temp;
    QImage image = twoColours(60, 40);
    image.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    const QString png = temp.file("bild.png");
    ASSERT_TRUE(image.save(png));
    runExiftool(
        {"-q", "-overwrite_original", "-EXIF:Make=Testkamera", "-XMP-dc:Creator=Anna", png});
    const CliRun run =
        runCliStamp({"--output", "out", "--text", "(c)", "--notice", "H", "bild.png"}, temp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject tags = tagsOf(temp.file("out/bild.png"));
    EXPECT_EQ(tags["File:FileType"].toString(), "JPEG");
    EXPECT_EQ(tags["IFD0:Make"].toString(), "Testkamera");
    EXPECT_EQ(tags["XMP-dc:Creator"].toString(), "Anna");
    EXPECT_EQ(tags["ICC-header:ColorSpaceData"].toString(), "RGB ");
}

// A PNG's EXIF orientation (its eXIf chunk) is applied as a JPEG's is: the
// same side-on picture comes out upright from both, the strip at its bottom.
TEST(Metadata, PngOrientationIsAppliedAsAJpegs) {
    TempFolder temp;
    const QImage sideOn = twoColours(300, 200);
    const QString png = temp.file("seitlich.png");
    ASSERT_TRUE(sideOn.save(png));
    const QString jpeg = temp.write("seitlich.jpg", encodedPicture(sideOn, "JPEG", 92));
    runExiftool({"-q", "-overwrite_original", "-Orientation#=6", png, jpeg});
    const auto sources = hashFiles(temp.path());
    const CliRun run = runCliStamp(
        {"--output", "out", "--text", "(c)", "--notice", "H", "seitlich.png", "seitlich.jpg"},
        temp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const char* name : {"out/seitlich.png", "out/seitlich.jpg"}) {
        SCOPED_TRACE(name);
        const QImage picture(temp.file(name));
        ASSERT_EQ(picture.size(), QSize(200, 320));
        EXPECT_GT(qRed(picture.pixel(100, 10)), 150); // the red half on top
        EXPECT_GT(qBlue(picture.pixel(100, 290)), 150);
        EXPECT_EQ(tagsOf(temp.file(name))["IFD0:Orientation"].toInt(), 1);
    }
    const auto after = hashFiles(temp.path());
    for (const QByteArray source : {"seitlich.png", "seitlich.jpg"})
        EXPECT_EQ(after.value(source), sources.value(source)) << source.constData();
}

// A broken part is left out, the picture is stamped, and standard error says so.
TEST(Metadata, BrokenMetadataNeverFailsThePicture) {
    TempFolder temp;
    const QByteArray plain = encodedPicture(twoColours(50, 40), "JPEG", 92);
    const auto withSegment = [&](const char* marker, const QByteArray& body) {
        return withSegments(plain, jpegSegment(marker, body));
    };
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"cut-exif.jpg",
         withSegment("ffe1", QByteArray("Exif\0\0MM\0\x2a\0\0\0\x08\0\x05\x01\x0f", 18))},
        {"broken-xmp.jpg", withSegment("ffe1", QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) +
                                                   "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF")},
        {"wrong-iptc.jpg", withSegment("ffed", QByteArray("Photoshop 3.0\0"
                                                          "8BIM\x04\x04\0\0\0\0\0\x0c"
                                                          "\x1c\x02\x78\xff\xf0zu lang",
                                                          38))},
    };
    QStringList names;
    for (const auto& c : cases)
        names << temp.write(QString::fromLatin1(c.name), c.bytes);
    const CliRun run = runCliStamp(
        QStringList{"--output", "out", "--text", "(c)", "--notice", "H", "--metadata"} + names,
        temp.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString output = temp.file(QStringLiteral("out/") + c.name);
        EXPECT_EQ(checkStamped(output, "(c)", true), "");
        EXPECT_EQ(QImage(output).size(), QSize(50, 60));
        EXPECT_TRUE(run.err.contains(c.name)) << run.err.toStdString();
        // the run's own copyright still lands in all three places
        const QJsonObject tags = tagsOf(output);
        EXPECT_EQ(tags["XMP-dc:Rights"].toString(), "(c)");
        EXPECT_EQ(tags["IFD0:Copyright"].toString(), "(c)");
        EXPECT_EQ(tags["IPTC:CopyrightNotice"].toString(), "(c)");
    }
}

// --metadata --save-defaults stores the key meta; later runs follow it.
TEST(Metadata, SaveDefaultsStoresTheMetaKey) {
    TempFolder temp;
    const QString photo = temp.write("a.jpg", encodedPicture(twoColours(40, 30), "JPEG", 92));
    const SettingsStore store;
    ASSERT_EQ(store.GetSetting("Vendrake", "Stampora", "meta", "-"), "-");
    const CliRun saving = runCliStamp({"--output", "one", "--text", "(c) A", "--no-notice",
                                       "--metadata", "--save-defaults", photo},
                                      temp.path());
    ASSERT_EQ(saving.exitCode, 0) << saving.err.toStdString();
    EXPECT_EQ(store.GetSetting("Vendrake", "Stampora", "meta", "-"), "True");
    const CliRun later = runCliStamp({"--output", "two", photo}, temp.path());
    ASSERT_EQ(later.exitCode, 0) << later.err.toStdString();
    EXPECT_EQ(readCopyrightCarriers(temp.file("two/a.jpg")).xmpRights.value_or("-"), "(c) A");
    QFile::remove(store.filePath("Vendrake"));
}
