#include "core/imaging/jpegpipeline.h"

#include "core/imaging/dibsection.h"
#include "core/imaging/jpegcompressor.h"
#include "core/imaging/jpeglibsupport.h"
#include "core/imaging/jpegsource.h"
#include "core/imaging/noticecomposer.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

constexpr int kQuality = 100;
constexpr int kRowsAtOnce = 16;

// How far the decoder has come; the encoder waits on it.
class RowGate {
public:
    void publish(int rows) {
        {
            std::lock_guard lock(mutex_);
            rows_ = rows;
        }
        changed_.notify_one();
    }
    void finish(bool ok) {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
            failed_ = !ok;
        }
        changed_.notify_one();
    }
    // Waits until `rows` rows are decoded (true) or decoding has failed (false).
    bool waitFor(int rows) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return rows_ >= rows || failed_ || finished_; });
        return !failed_ && rows_ >= rows;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int rows_ = 0;
    bool finished_ = false;
    bool failed_ = false;
};

// Decodes all picture rows into the buffer, publishing progress. No C++ object
// with a destructor lives in this frame, since errors jump back into it.
bool decodeRows(const QByteArray* data, cDIBSection* buffer, int pictureRows, RowGate* gate) {
    jpeg_decompress_struct info{};
    JpegErrorJump errors;
    info.err = setUpJpegErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data->constData()),
                 static_cast<unsigned long>(data->size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    if (int(info.output_width) != buffer->Width() || int(info.output_height) != pictureRows ||
        info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    JSAMPROW rows[kRowsAtOnce];
    while (int(info.output_scanline) < pictureRows && !errors.warned) {
        const int first = int(info.output_scanline);
        const int count = std::min(kRowsAtOnce, pictureRows - first);
        for (int i = 0; i < count; ++i)
            rows[i] = buffer->scanLine(first + i);
        jpeg_read_scanlines(&info, rows, JDIMENSION(count));
        gate->publish(int(info.output_scanline));
    }
    if (!errors.warned)
        jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return !errors.warned;
}

// The rows the encoder may read: decoded picture rows above the notice's
// band; the band once the whole picture is decoded and the line drawn on it.
struct Follower {
    RowGate* gate;
    cDIBSection* buffer;
    const QString* text;
    int pictureRows;
    int bandStart;
    bool drawn = false;
    bool drawFailed = false;

    static bool ready(void* context, int rows) {
        auto* self = static_cast<Follower*>(context);
        if (rows <= self->bandStart)
            return self->gate->waitFor(std::min(rows, self->pictureRows));
        if (!self->drawn) {
            if (!self->gate->waitFor(self->pictureRows))
                return false;
            self->drawn = true;
            self->drawFailed = !drawNoticeTextInBuffer(self->buffer, *self->text);
        }
        return !self->drawFailed;
    }
};

} // namespace

PipelinedNotice stampJpegNoticePipelined(const QString& path, const NoticeOptions& options,
                                         QByteArray* jpeg) {
    using Result = PipelinedNotice::Result;
    PipelinedNotice outcome;
    if (!jpeg)
        return outcome;
    const int extraRows = options.enlarge ? kNoticeStripHeight : 0;
    JpegSource source = openJpegSource(path, extraRows);
    if (source.state == JpegSource::State::Refused) {
        outcome.result = Result::Failed;
        outcome.error = source.error;
        return outcome;
    }
    if (source.state != JpegSource::State::Ready)
        return outcome;

    cDIBSection& buffer = source.buffer;
    const int pictureRows = buffer.Height() - extraRows;
    JpegMetadataSegments segments =
        segmentsForOutput(source.metadata, {buffer.Width(), buffer.Height()}, options.metadata);
    RowGate gate;
    Follower follower{&gate, &buffer, &options.text, pictureRows,
                      buffer.Height() - std::min(buffer.Height(), kNoticeBandRows)};
    bool decoded = false;
    std::thread decoder;
    try {
        decoder = std::thread([&] {
            decoded = decodeRows(&source.data, &buffer, pictureRows, &gate);
            gate.finish(decoded);
        });
    } catch (const std::system_error&) {
        return outcome; // no second thread: decoded and encoded one after the other
    }
    QByteArray out;
    const bool encoded =
        compressBuffer(buffer, kQuality, segments, &out, {Follower::ready, &follower});
    decoder.join();
    if (!decoded)
        return outcome; // damaged on the way: the general reader decides
    if (!encoded || follower.drawFailed) {
        outcome.result = Result::Failed;
        outcome.error =
            follower.drawFailed
                ? QStringLiteral("Der Hinweis konnte nicht in das Bild gezeichnet werden.")
                : QStringLiteral("Das Bild konnte nicht als JPEG kodiert werden.");
        return outcome;
    }
    *jpeg = std::move(out);
    outcome.result = Result::Encoded;
    outcome.notes = segments.problems;
    return outcome;
}
