#include "core/base/filename.h"
#include "core/imaging/picturedamage.h"

#include <QFile>
#include <gif_lib.h>
#include <vector>

namespace {

int readFromFile(GifFileType* gif, GifByteType* bytes, int length) {
    const qint64 got =
        static_cast<QFile*>(gif->UserData)->read(reinterpret_cast<char*>(bytes), length);
    return got < 0 ? 0 : int(got);
}

// The library's errors that mean the data ends early or does not decode;
// the others (no GIF, an unknown block) are the reader's to name.
bool isDamage(int error) {
    return error == D_GIF_ERR_READ_FAILED || error == D_GIF_ERR_EOF_TOO_SOON ||
           error == D_GIF_ERR_IMAGE_DEFECT || error == D_GIF_ERR_DATA_TOO_BIG;
}

bool firstFrameDamaged(GifFileType* gif) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return isDamage(gif->Error);
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                return isDamage(gif->Error);
            while (block)
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                    return isDamage(gif->Error);
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            return false; // no frame at all: the reader says so
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return isDamage(gif->Error);
        const int width = gif->Image.Width;
        if (width <= 0 || gif->Image.Height <= 0)
            return false;
        std::vector<GifPixelType> line(static_cast<size_t>(width));
        for (int row = 0; row < gif->Image.Height; ++row)
            if (DGifGetLine(gif, line.data(), width) == GIF_ERROR)
                return isDamage(gif->Error);
        return false;
    }
}

} // namespace

bool isGifDataDamaged(const QString& path) {
    QFile file;
    if (!openForReading(file, path))
        return false;
    int error = 0;
    GifFileType* gif = DGifOpen(&file, readFromFile, &error);
    if (!gif)
        return isDamage(error);
    const bool damaged = firstFrameDamaged(gif);
    DGifCloseFile(gif, &error);
    return damaged;
}
