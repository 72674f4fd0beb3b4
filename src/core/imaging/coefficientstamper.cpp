#include "core/imaging/coefficientstamper.h"

#include "core/imaging/jpegarraydestination.h"
#include "core/imaging/jpeglibsupport.h"
#include "core/imaging/jpegmetadatawriter.h"
#include "core/imaging/jpegsource.h"
#include "core/imaging/noticeband.h"
#include "core/imaging/noticecomposer.h"
#include "core/imaging/picturedecoder.h"
#include "core/imaging/picturemetadata.h"

#include <QImage>
#include <QSize>
#include <algorithm>
#include <cstring>

namespace {

// QImage's RGB32 pixels as libjpeg names their bytes in memory.
constexpr J_COLOR_SPACE kPixelLayout =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;

int divideRoundingUp(long long a, long long b) {
    return int((a + b - 1) / b);
}

// Block rows of one component in a picture of `height` rows, rounded up to
// whole iMCU rows (what libjpeg's coefficient buffers hold).
int blockRowsOf(int height, int v, int maxV) {
    return divideRoundingUp(height, 8LL * maxV) * v;
}

// Everything libjpeg holds for one picture, released in one place. The
// stages below keep no C++ object with a destructor in their frames, since
// libjpeg's errors jump back into them.
struct Work {
    jpeg_decompress_struct source{};
    JpegErrorJump sourceErrors;
    bool sourceMade = false;
    jpeg_decompress_struct band{};
    JpegErrorJump bandErrors;
    bool bandMade = false;
    jvirt_barray_ptr* sourceBlocks = nullptr;
    jvirt_barray_ptr* bandBlocks = nullptr;
    jvirt_barray_ptr taller[MAX_COMPONENTS] = {}; // the output's, when the source's are too short
    jvirt_barray_ptr bandSource[MAX_COMPONENTS] = {}; // the source's rows of the band
    QByteArray bandSourceJpeg;                        // the source's rows of the band alone
    QByteArray bandJpeg;                              // the composed band
    QByteArray output;

    int width = 0;
    int height = 0;       // the source's
    int outputHeight = 0; // with the strip
    int imcuHeight = 0;
    int bandStart = 0; // an iMCU boundary
    bool useTaller = false;

    Work() = default;
    Work(const Work&) = delete;
    Work& operator=(const Work&) = delete;
    ~Work() {
        if (bandMade)
            jpeg_destroy_decompress(&band);
        if (sourceMade)
            jpeg_destroy_decompress(&source);
    }
    int bandRows() const { return outputHeight - bandStart; }
    int sourceRowsInBand() const { return height - bandStart; }
};

// What the coefficient path takes on: 8-bit Huffman-coded YCbCr or grey with
// whole-number sampling ratios, not too large.
bool isForThisPath(const jpeg_decompress_struct& info) {
    if (info.arith_code || info.data_precision != 8)
        return false;
    const bool colour = info.jpeg_color_space == JCS_YCbCr && info.num_components == 3;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE && info.num_components == 1;
    if (!colour && !grey)
        return false;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        if (info.max_h_samp_factor % component.h_samp_factor != 0 ||
            info.max_v_samp_factor % component.v_samp_factor != 0)
            return false;
    }
    return !isPictureTooLarge(QSize(int(info.image_width), int(info.image_height)));
}

jvirt_barray_ptr requestBlocks(Work* work, const jpeg_component_info& component, int rows) {
    const JDIMENSION columns =
        JDIMENSION(divideRoundingUp(component.width_in_blocks, component.h_samp_factor) *
                   component.h_samp_factor);
    return (*work->source.mem->request_virt_barray)(reinterpret_cast<j_common_ptr>(&work->source),
                                                    JPOOL_IMAGE, FALSE, columns, JDIMENSION(rows),
                                                    JDIMENSION(component.v_samp_factor));
}

JBLOCKROW blockRow(Work* work, jvirt_barray_ptr blocks, int row, bool writable) {
    return (*work->source.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&work->source),
                                                   blocks, JDIMENSION(row), 1,
                                                   writable ? TRUE : FALSE)[0];
}

// Stage 1: the source's header checked and its blocks read, with room for
// the output and the band requested on the way.
bool readSource(Work* work, const QByteArray* file, int extraRows) {
    jpeg_decompress_struct& source = work->source;
    source.err = setUpJpegErrors(&work->sourceErrors);
    if (setjmp(work->sourceErrors.jump))
        return false;
    jpeg_create_decompress(&source);
    work->sourceMade = true;
    jpeg_mem_src(&source, reinterpret_cast<const unsigned char*>(file->constData()),
                 static_cast<unsigned long>(file->size()));
    if (jpeg_read_header(&source, TRUE) != JPEG_HEADER_OK || work->sourceErrors.warned ||
        !isForThisPath(source))
        return false;
    work->width = int(source.image_width);
    work->height = int(source.image_height);
    work->outputHeight = work->height + extraRows;
    if (work->outputHeight > JPEG_MAX_DIMENSION)
        return false;
    const int maxV = source.max_v_samp_factor;
    work->imcuHeight = 8 * maxV;
    work->bandStart = noticeBandStart(work->outputHeight, work->imcuHeight);
    for (int c = 0; c < source.num_components; ++c) {
        const int v = source.comp_info[c].v_samp_factor;
        if (blockRowsOf(work->outputHeight, v, maxV) > blockRowsOf(work->height, v, maxV))
            work->useTaller = true;
    }
    for (int c = 0; c < source.num_components; ++c) {
        const jpeg_component_info& component = source.comp_info[c];
        const int v = component.v_samp_factor;
        if (work->useTaller)
            work->taller[c] =
                requestBlocks(work, component, blockRowsOf(work->outputHeight, v, maxV));
        if (work->sourceRowsInBand() > 0)
            work->bandSource[c] =
                requestBlocks(work, component, blockRowsOf(work->sourceRowsInBand(), v, maxV));
    }
    work->sourceBlocks = jpeg_read_coefficients(&source);
    return work->sourceBlocks && !work->sourceErrors.warned;
}

// Stage 2: the source's rows of the band as a JPEG of their own, so they can be
// decoded alone.
bool writeBandOfSource(Work* work) {
    jpeg_compress_struct part{};
    JpegErrorJump errors;
    part.err = setUpJpegErrors(&errors);
    if (setjmp(work->sourceErrors.jump)) {
        jpeg_destroy_compress(&part);
        return false;
    }
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&part);
        return false;
    }
    jpeg_create_compress(&part);
    jpeg_copy_critical_parameters(&work->source, &part);
    part.image_height = JDIMENSION(work->sourceRowsInBand());
    const int maxV = work->source.max_v_samp_factor;
    const int firstImcu = work->bandStart / work->imcuHeight;
    for (int c = 0; c < work->source.num_components; ++c) {
        const jpeg_component_info& component = work->source.comp_info[c];
        const int v = component.v_samp_factor;
        const std::size_t rowBytes =
            std::size_t(divideRoundingUp(component.width_in_blocks, component.h_samp_factor) *
                        component.h_samp_factor) *
            sizeof(JBLOCK);
        const int rows = blockRowsOf(work->sourceRowsInBand(), v, maxV);
        for (int r = 0; r < rows; ++r)
            std::memcpy(blockRow(work, work->bandSource[c], r, true),
                        blockRow(work, work->sourceBlocks[c], firstImcu * v + r, false), rowBytes);
    }
    JpegArrayDestination destination{};
    useJpegArrayDestination(&part, &destination, &work->bandSourceJpeg);
    jpeg_write_coefficients(&part, work->bandSource);
    jpeg_finish_compress(&part);
    jpeg_destroy_compress(&part);
    return !errors.warned;
}

// Stage 3: those rows decoded into the top of the band picture, chroma
// replicated rather than smoothed so re-encoding them changes them least.
bool decodeBandOfSource(const Work* work, uchar* pixels, qsizetype bytesPerLine) {
    jpeg_decompress_struct part{};
    JpegErrorJump errors;
    part.err = setUpJpegErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&part);
        return false;
    }
    jpeg_create_decompress(&part);
    jpeg_mem_src(&part, reinterpret_cast<const unsigned char*>(work->bandSourceJpeg.constData()),
                 static_cast<unsigned long>(work->bandSourceJpeg.size()));
    jpeg_read_header(&part, TRUE);
    part.out_color_space = kPixelLayout;
    part.do_fancy_upsampling = FALSE;
    part.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&part);
    if (int(part.output_width) != work->width ||
        int(part.output_height) != work->sourceRowsInBand()) {
        jpeg_destroy_decompress(&part);
        return false;
    }
    while (part.output_scanline < part.output_height && !errors.warned) {
        JSAMPROW row = pixels + qsizetype(part.output_scanline) * bytesPerLine;
        jpeg_read_scanlines(&part, &row, 1);
    }
    if (!errors.warned)
        jpeg_finish_decompress(&part);
    jpeg_destroy_decompress(&part);
    return !errors.warned;
}

// Stage 4: the composed band encoded with the source's quantisation tables,
// sampling and colour space, and read back as blocks.
bool encodeBand(Work* work, const uchar* pixels, qsizetype bytesPerLine) {
    jpeg_compress_struct encoder{};
    JpegErrorJump errors;
    encoder.err = setUpJpegErrors(&errors);
    if (setjmp(work->sourceErrors.jump)) {
        jpeg_destroy_compress(&encoder);
        return false;
    }
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&encoder);
        return false;
    }
    jpeg_create_compress(&encoder);
    jpeg_copy_critical_parameters(&work->source, &encoder);
    encoder.image_height = JDIMENSION(work->bandRows());
    encoder.in_color_space = kPixelLayout;
    encoder.input_components = 4;
    encoder.dct_method = JDCT_ISLOW;
    encoder.write_JFIF_header = FALSE;
    JpegArrayDestination destination{};
    useJpegArrayDestination(&encoder, &destination, &work->bandJpeg);
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(pixels) + qsizetype(encoder.next_scanline) * bytesPerLine;
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    if (errors.warned)
        return false;

    jpeg_decompress_struct& band = work->band;
    band.err = setUpJpegErrors(&work->bandErrors);
    if (setjmp(work->bandErrors.jump))
        return false;
    jpeg_create_decompress(&band);
    work->bandMade = true;
    jpeg_mem_src(&band, reinterpret_cast<const unsigned char*>(work->bandJpeg.constData()),
                 static_cast<unsigned long>(work->bandJpeg.size()));
    jpeg_read_header(&band, TRUE);
    work->bandBlocks = jpeg_read_coefficients(&band);
    return work->bandBlocks && !work->bandErrors.warned;
}

// Stage 5: the band's blocks put in place where they hold a changed pixel;
// every other block stays the source's.
bool placeBand(Work* work, const ChangedCells* changed) {
    if (setjmp(work->sourceErrors.jump))
        return false;
    if (setjmp(work->bandErrors.jump))
        return false;
    const jpeg_decompress_struct& source = work->source;
    const int maxH = source.max_h_samp_factor;
    const int maxV = source.max_v_samp_factor;
    const int firstImcu = work->bandStart / work->imcuHeight;
    for (int c = 0; c < source.num_components; ++c) {
        const jpeg_component_info& component = source.comp_info[c];
        const int h = component.h_samp_factor;
        const int v = component.v_samp_factor;
        const int columns = divideRoundingUp(component.width_in_blocks, h) * h;
        const std::size_t rowBytes = std::size_t(columns) * sizeof(JBLOCK);
        const int sourceRows = blockRowsOf(work->height, v, maxV);
        const int outputRows = blockRowsOf(work->outputHeight, v, maxV);
        const int bandFirst = firstImcu * v;
        const int bandRows = work->bandBlocks ? blockRowsOf(work->bandRows(), v, maxV) : 0;
        // the taller output is written from its top, every row in turn
        const int firstWritten = work->useTaller ? 0 : bandFirst;
        for (int r = firstWritten; r < outputRows; ++r) {
            JBLOCKROW out = nullptr;
            if (work->useTaller) {
                out = blockRow(work, work->taller[c], r, true);
                if (r < sourceRows)
                    std::memcpy(out, blockRow(work, work->sourceBlocks[c], r, false), rowBytes);
            } else {
                out = blockRow(work, work->sourceBlocks[c], r, true);
            }
            const int b = r - bandFirst;
            if (b < 0 || b >= bandRows)
                continue;
            JBLOCKROW in = (*work->band.mem->access_virt_barray)(
                reinterpret_cast<j_common_ptr>(&work->band), work->bandBlocks[c], JDIMENSION(b), 1,
                FALSE)[0];
            if (r >= sourceRows) {
                std::memcpy(out, in, rowBytes); // below the source: all new
                continue;
            }
            for (int x = 0; x < columns; ++x)
                if (changed->blockChanged(x, b, h, v, maxH, maxV))
                    std::memcpy(out[x], in[x], sizeof(JBLOCK));
        }
    }
    return true;
}

// Whether a Huffman table has a code for every symbol its kind can meet: DC
// categories 0 to 11; AC end of block, 16 zeros and runs 0 to 15 of sizes 1
// to 10. Only such a table can code the new blocks too (libjpeg-turbo does
// not check for a missing code).
bool codesEverySymbol(const JHUFF_TBL* table, bool dc) {
    if (!table)
        return false;
    bool present[256] = {};
    int count = 0;
    for (int length = 1; length <= 16; ++length)
        count += table->bits[length];
    for (int i = 0; i < std::min(count, 256); ++i)
        present[table->huffval[i]] = true;
    if (dc)
        return std::all_of(present, present + 12, [](bool p) { return p; });
    if (!present[0x00] || !present[0xF0])
        return false;
    for (int run = 0; run < 16; ++run)
        for (int size = 1; size <= 10; ++size)
            if (!present[run << 4 | size])
                return false;
    return true;
}

// The output codes its blocks with the source's own Huffman tables where the
// source is one baseline scan whose tables code every symbol: the size stays
// the source's and one pass over the blocks is saved. Otherwise (progressive,
// several scans, tables made for the source's own blocks) the tables are
// optimised for the output.
void chooseHuffmanTables(const jpeg_decompress_struct& source, jpeg_compress_struct* output) {
    bool own = !source.progressive_mode && source.comps_in_scan == source.num_components;
    for (int c = 0; own && c < source.num_components; ++c) {
        const jpeg_component_info& component = source.comp_info[c];
        own = codesEverySymbol(source.dc_huff_tbl_ptrs[component.dc_tbl_no], true) &&
              codesEverySymbol(source.ac_huff_tbl_ptrs[component.ac_tbl_no], false);
    }
    if (!own) {
        output->optimize_coding = TRUE;
        return;
    }
    const auto copy = [&](JHUFF_TBL* from, JHUFF_TBL** to) {
        if (!from)
            return;
        if (!*to)
            *to = jpeg_alloc_huff_table(reinterpret_cast<j_common_ptr>(output));
        std::memcpy((*to)->bits, from->bits, sizeof from->bits);
        std::memcpy((*to)->huffval, from->huffval, sizeof from->huffval);
        (*to)->sent_table = FALSE;
    };
    for (int n = 0; n < NUM_HUFF_TBLS; ++n) {
        copy(source.dc_huff_tbl_ptrs[n], &output->dc_huff_tbl_ptrs[n]);
        copy(source.ac_huff_tbl_ptrs[n], &output->ac_huff_tbl_ptrs[n]);
    }
    for (int c = 0; c < source.num_components; ++c) {
        output->comp_info[c].dc_tbl_no = source.comp_info[c].dc_tbl_no;
        output->comp_info[c].ac_tbl_no = source.comp_info[c].ac_tbl_no;
    }
    output->optimize_coding = FALSE;
}

// Stage 6: the output, the source's tables and sampling, its blocks as placed,
// the metadata segments in the header.
bool writeOutput(Work* work, const JpegMetadataSegments* metadata) {
    jpeg_compress_struct output{};
    JpegErrorJump errors;
    output.err = setUpJpegErrors(&errors);
    if (setjmp(work->sourceErrors.jump)) {
        jpeg_destroy_compress(&output);
        return false;
    }
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&output);
        return false;
    }
    jpeg_create_compress(&output);
    jpeg_copy_critical_parameters(&work->source, &output);
    output.image_height = JDIMENSION(work->outputHeight);
    chooseHuffmanTables(work->source, &output);
    // the density is the metadata's to give, as on the re-encoding path
    output.density_unit = 0;
    output.X_density = 1;
    output.Y_density = 1;
    setJpegDensity(&output, *metadata);
    JpegArrayDestination destination{};
    useJpegArrayDestination(&output, &destination, &work->output);
    jpeg_write_coefficients(&output, work->useTaller ? work->taller : work->sourceBlocks);
    writeJpegMetadata(&output, *metadata);
    jpeg_finish_compress(&output);
    jpeg_destroy_compress(&output);
    return !errors.warned;
}

// The band picture with the notice, and the cells it changed.
bool composeBand(Work* work, const QString& text, QImage* band, ChangedCells* changed) {
    *band = QImage(work->width, work->bandRows(), QImage::Format_RGB32);
    if (band->isNull())
        return false;
    band->fill(Qt::black);
    const int pictureRows = std::max(0, work->sourceRowsInBand());
    if (pictureRows > 0 &&
        (!writeBandOfSource(work) || !decodeBandOfSource(work, band->bits(), band->bytesPerLine())))
        return false;
    const QImage before = band->copy();
    if (before.isNull() || !drawNoticeText(band, text))
        return false;
    changed->markRows(pictureRows, band->height()); // the strip, and any rows of padding it shows
    for (int y = 0; y < pictureRows; ++y) {
        const auto* was = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* now = reinterpret_cast<const QRgb*>(band->constScanLine(y));
        for (int x = 0; x < work->width; ++x)
            if (was[x] != now[x])
                changed->markPixel(x, y);
    }
    return true;
}

} // namespace

KeptQualityNotice stampJpegKeepingQuality(const QByteArray& file, const NoticeOptions& options,
                                          QByteArray* jpeg) {
    KeptQualityNotice outcome;
    if (!jpeg || !file.startsWith("\xFF\xD8\xFF"))
        return outcome;
    const PictureMetadata metadata = readPictureMetadata(file);
    if (metadata.orientation != 1)
        return outcome; // the re-encoding path turns the picture upright
    Work work;
    if (!readSource(&work, &file, options.enlarge ? kNoticeStripHeight : 0))
        return outcome;
    QImage band;
    ChangedCells changed(work.width, work.bandRows());
    if (!composeBand(&work, options.text, &band, &changed))
        return outcome;
    if (changed.any() &&
        (!encodeBand(&work, band.constBits(), band.bytesPerLine()) || !placeBand(&work, &changed)))
        return outcome;
    if (!changed.any() && work.useTaller)
        return outcome; // the taller blocks would stay unwritten (the strip always changes them)
    const JpegMetadataSegments segments =
        segmentsForOutput(metadata, {work.width, work.outputHeight}, options.metadata);
    // room for the source's size and some: the output rarely needs to grow
    work.output.resize(file.size() + file.size() / 8);
    if (!writeOutput(&work, &segments))
        return outcome;
    *jpeg = std::move(work.output);
    outcome.result = KeptQualityNotice::Result::Stamped;
    outcome.notes = segments.problems;
    return outcome;
}

KeptQualityNotice stampNoticeKeepingQuality(const QString& path, const NoticeOptions& options,
                                            QByteArray* jpeg) {
    const QByteArray file = readJpegFile(path);
    if (file.isEmpty())
        return {};
    return stampJpegKeepingQuality(file, options, jpeg);
}
