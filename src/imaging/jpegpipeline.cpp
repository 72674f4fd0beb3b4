#include "imaging/jpegpipeline.h"

#include "imaging/dibsection.h"
#include "imaging/jpegsource.h"
#include "imaging/noticecomposer.h"

#include <algorithm>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <mutex>
#include <thread>

#include <jpeglib.h>

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

// libjpeg reports errors by jumping back; warnings (damaged data) count as
// errors too, as on the decode-then-encode path.
struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool warned = false;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void noteWarning(j_common_ptr info, int level) {
    if (level < 0)
        reinterpret_cast<ErrorJump*>(info->err)->warned = true;
}

void setUpErrors(ErrorJump* errors) {
    jpeg_std_error(&errors->manager);
    errors->manager.error_exit = jumpBack;
    errors->manager.emit_message = noteWarning;
}

// Decodes all picture rows into the buffer, publishing progress. No C++ object
// with a destructor lives in this frame, since errors jump back into it.
bool decodeRows(const QByteArray* data, cDIBSection* buffer, int pictureRows, RowGate* gate) {
    jpeg_decompress_struct info{};
    ErrorJump errors;
    info.err = &errors.manager;
    setUpErrors(&errors);
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
            rows[i] = buffer->ScanLine(first + i);
        jpeg_read_scanlines(&info, rows, JDIMENSION(count));
        gate->publish(int(info.output_scanline));
    }
    if (!errors.warned)
        jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return !errors.warned;
}

// The encoder's output: a growing byte array.
struct ArrayDestination {
    jpeg_destination_mgr manager;
    QByteArray* out;
};

void startArray(j_compress_ptr info) {
    auto* dest = reinterpret_cast<ArrayDestination*>(info->dest);
    dest->manager.next_output_byte = reinterpret_cast<JOCTET*>(dest->out->data());
    dest->manager.free_in_buffer = size_t(dest->out->size());
}

boolean growArray(j_compress_ptr info) {
    auto* dest = reinterpret_cast<ArrayDestination*>(info->dest);
    const qsizetype used = dest->out->size();
    dest->out->resize(used + used / 2);
    dest->manager.next_output_byte = reinterpret_cast<JOCTET*>(dest->out->data()) + used;
    dest->manager.free_in_buffer = size_t(dest->out->size() - used);
    return TRUE;
}

void endArray(j_compress_ptr info) {
    auto* dest = reinterpret_cast<ArrayDestination*>(info->dest);
    dest->out->truncate(dest->out->size() - qsizetype(dest->manager.free_in_buffer));
}

// Hooks the encoder waits on before it reads rows: until `rows` rows are final.
struct RowSource {
    bool (*ready)(void* context, int rows);
    void* context;
};

// Encodes the whole buffer as quality 100, 4:4:4, as the TurboJPEG path does.
// No C++ object with a destructor lives in this frame.
bool encodeRows(cDIBSection* buffer, const QByteArray* profile, QByteArray* out, RowSource source) {
    jpeg_compress_struct info{};
    ErrorJump errors;
    info.err = &errors.manager;
    setUpErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    ArrayDestination dest{{}, out};
    dest.manager.init_destination = startArray;
    dest.manager.empty_output_buffer = growArray;
    dest.manager.term_destination = endArray;
    info.dest = &dest.manager;

    const int rowsInAll = buffer->Height();
    info.image_width = JDIMENSION(buffer->Width());
    info.image_height = JDIMENSION(rowsInAll);
    info.in_color_space = JCS_EXT_BGR;
    info.input_components = 3;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    info.dct_method = JDCT_ISLOW;
    jpeg_set_colorspace(&info, JCS_YCbCr);
    for (int c = 0; c < 3; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    if (!profile->isEmpty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(profile->constData()),
                               unsigned(profile->size()));
    JSAMPROW rows[kRowsAtOnce];
    while (int(info.next_scanline) < rowsInAll) {
        const int first = int(info.next_scanline);
        const int count = std::min(kRowsAtOnce, rowsInAll - first);
        if (!source.ready(source.context, first + count)) {
            jpeg_destroy_compress(&info);
            return false;
        }
        for (int i = 0; i < count; ++i)
            rows[i] = buffer->ScanLine(first + i);
        jpeg_write_scanlines(&info, rows, JDIMENSION(count));
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
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
            self->drawFailed = !DrawNoticeTextInBuffer(self->buffer, *self->text);
        }
        return !self->drawFailed;
    }
};

} // namespace

PipelinedNotice StampJpegNoticePipelined(const QString& path, const NoticeOptions& options,
                                         QByteArray* jpeg) {
    using Result = PipelinedNotice::Result;
    PipelinedNotice outcome;
    if (!jpeg)
        return outcome;
    const int extraRows = options.enlarge ? kNoticeStripHeight : 0;
    JpegSource source = OpenJpegSource(path, extraRows);
    if (source.state == JpegSource::State::Refused) {
        outcome.result = Result::Failed;
        outcome.error = source.error;
        return outcome;
    }
    if (source.state != JpegSource::State::Ready)
        return outcome;

    cDIBSection& buffer = source.buffer;
    const int pictureRows = buffer.Height() - extraRows;
    RowGate gate;
    Follower follower{&gate, &buffer, &options.text, pictureRows,
                      buffer.Height() - std::min(buffer.Height(), kNoticeBandRows)};
    bool decoded = false;
    std::thread decoder([&] {
        decoded = decodeRows(&source.data, &buffer, pictureRows, &gate);
        gate.finish(decoded);
    });
    QByteArray out(std::max<qsizetype>(qsizetype(buffer.Width()) * buffer.Height(), 1 << 16),
                   Qt::Uninitialized);
    const bool encoded =
        encodeRows(&buffer, &source.iccProfile, &out, {Follower::ready, &follower});
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
    return outcome;
}
