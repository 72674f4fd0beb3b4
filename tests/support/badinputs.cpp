#include "support/badinputs.h"

#include "support/testsupport.h"

namespace {

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= uchar(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 v) {
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((v >> shift) & 0xFF);
    return out;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
    const QByteArray body = type + data;
    return bigEndian(quint32(data.size())) + body + bigEndian(crc32(body));
}

// The signature, a valid header and the start of the pixel data, which is
// where a reader has learnt the size.
QByteArray pngHeader(quint32 width, quint32 height) {
    return QByteArray("\x89PNG\r\n\x1A\n", 8) +
           pngChunk("IHDR",
                    bigEndian(width) + bigEndian(height) + QByteArray("\x08\x02\x00\x00\x00", 5)) +
           pngChunk("IDAT", QByteArray("\x78\x9C\x01\x02", 4));
}

QByteArray firstHalf(const QByteArray& bytes) {
    return bytes.left(bytes.size() / 2);
}

// What a stamped file carries after the picture's last byte.
const QByteArray kAfterTheEnd = QByteArray("Nachspann nach dem Bild ").repeated(20);

const char* const kDamaged = "Das Bild ist beschädigt oder unvollständig";

} // namespace

std::vector<BadInput> badInputTable(const QByteArray& jpeg) {
    // pictures big enough for a cut in half to land in their pixel data
    const QImage detailed = detailedPicture(160, 120);
    const QByteArray photo = encodedPicture(detailed, "JPEG");
    const QByteArray bitmap = encodedPicture(detailed, "BMP");
    const QByteArray png = encodedPicture(detailed, "PNG");
    const QByteArray gif = smallGif(160, 120);
    return {
        {"a good picture first", "erstes.jpg", jpeg},
        {"an empty file", "leer.jpg", QByteArray(""), false, Expect::NoticeMissing,
         "Die Datei ist leer"},
        {"a truncated JPEG", "halb.jpg", jpeg.left(jpeg.size() / 2), false, Expect::NoticeMissing,
         "Bild"},
        {"a JPEG cut to half its bytes", "halbes-foto.jpg", firstHalf(photo), false,
         Expect::NoticeMissing, kDamaged},
        {"a JPEG with broken data", "verdorben.jpg", corruptJpeg(photo), false,
         Expect::NoticeMissing, kDamaged},
        {"a BMP cut to half its bytes", "halb.bmp", firstHalf(bitmap), false, Expect::NoticeMissing,
         kDamaged},
        {"a PNG cut to half its bytes", "halb.png", firstHalf(png), false, Expect::NoticeMissing,
         kDamaged},
        {"a GIF cut to half its bytes", "halb.gif", firstHalf(gif), false, Expect::NoticeMissing,
         kDamaged},
        // bytes after the picture's end are no damage: a stamped file looks so
        {"a JPEG with bytes after its end", "gestempelt.jpg", photo + kAfterTheEnd},
        // the decoder warns of them, yet every pixel is there
        {"a JPEG with stray bytes before its end marker", "streubytes.jpg",
         photo.chopped(2) + QByteArray(3, '\0') + photo.right(2)},
        {"a BMP with bytes after its end", "gestempelt.bmp", bitmap + kAfterTheEnd},
        {"a GIF with bytes after its end", "gestempelt.gif", gif + kAfterTheEnd},
        {"garbage named .jpg", "müll.jpg", QByteArray(3000, '\x5A'), false, Expect::NoticeMissing,
         "kein Bild im Format"},
        {"a GIF with broken data", "kaputt.gif",
         QByteArray("GIF89a\x10\x00\x10\x00\x80\x00\x00", 13) + QByteArray(40, '\xFF'), false,
         Expect::NoticeMissing, "Bild"},
        {"a PNG with broken data", "kaputt.png", pngHeader(16, 16) + QByteArray(60, '\x11'), false,
         Expect::NoticeMissing, "Bild"},
        {"a PNG of 60 000 × 60 000 pixels", "riesig.png", pngHeader(60000, 60000), false,
         Expect::NoticeMissing, "zu groß"},
        // 200 024 449 pixels, refused from the header without a decode
        {"a PNG just over 200 megapixels", "übervoll.png", pngHeader(14143, 14143), false,
         Expect::NoticeMissing, "zu groß (14143 × 14143 Pixel)"},
        // within the limit, though not with the strip of 20 rows counted
        {"an RGB PNG of 1 × 29 981 pixels", "schmal.png",
         encodedPicture(detailedPicture(1, 29981), "PNG")},
        // 39 bytes whose frame says 1280 × 91 and whose screen says 1280 × 65027
        {"a GIF with a huge screen", "bildschirm.gif",
         readAll(QStringLiteral(STAMPORA_CORPUS "/picture/gif-huge-screen")), false,
         Expect::NoticeMissing, "zu groß"},
        // 55 bytes of a BMP stored top down: 2311 × -65517 in its header
        {"a BMP stored top down, too tall", "hoch.bmp",
         readAll(QStringLiteral(STAMPORA_CORPUS "/picture/bmp-top-down-huge")), false,
         Expect::NoticeMissing, "zu groß"},
        {"a text file", "notiz.txt", "Nur Text\r\n", false, Expect::NoticeMissing,
         "kein Bild im Format"},
        {"a folder", "ordner.jpg", {}, true, Expect::Refused, "Keine normale Datei"},
        {"a source that vanished",
         "verschwunden.jpg",
         {},
         false,
         Expect::Refused,
         "existiert nicht"},
        {"a name with blanks", "mit  Leer zeichen .jpg", jpeg},
        {"a name with umlauts", "Grüße äöüß.jpg", jpeg},
        {"a name with a newline", "zeilen\numbruch.jpg", jpeg},
        {"a broken picture named with a newline", "kaputt\nzeile.gif", "GIF89a", false,
         Expect::NoticeMissing, "Bild"},
        {"a name with a leading dash", "-strich.jpg", jpeg},
        {"a name that is no UTF-8 (Latin-1 bytes)",
         "Gr\xFC\xDF"
         "e.jpg",
         jpeg},
        {"a good picture last", "letztes.jpg", jpeg},
    };
}
