#include "core/base/filename.h"
#include "core/imaging/jpeglibsupport.h"
#include "core/imaging/picturedamage.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

// Reads every row of the picture, at one eighth of its size, stopping at the
// first warning of lost data. False when an error stopped it; `headerRead`
// tells whether that came after the header. No C++ object with a destructor
// lives in this frame, since errors jump back into it.
bool decodeSmall(std::FILE* file, jpeg_decompress_struct* info, JpegErrorJump* errors,
                 bool* headerRead) {
    info->err = setUpJpegErrors(errors);
    if (setjmp(errors->jump))
        return false;
    jpeg_create_decompress(info);
    jpeg_stdio_src(info, file);
    jpeg_read_header(info, TRUE);
    *headerRead = true;
    // every coefficient is still entropy-decoded; only the transform is cheap
    info->scale_num = 1;
    info->scale_denom = 8;
    info->dct_method = JDCT_IFAST;
    info->do_fancy_upsampling = FALSE;
    jpeg_start_decompress(info);
    JSAMPARRAY row =
        (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                   info->output_width * JDIMENSION(info->output_components), 1);
    while (info->output_scanline < info->output_height && !errors->dataLost)
        jpeg_read_scanlines(info, row, 1);
    return true;
}

} // namespace

bool isJpegDataDamaged(const QString& path) {
    const int fd = openFileName(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return false;
    }
    jpeg_decompress_struct info{};
    JpegErrorJump errors;
    bool headerRead = false;
    const bool decoded = decodeSmall(file, &info, &errors, &headerRead);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    // an error past a good header is broken data too; one in the header is
    // left to the reader, which names it
    return errors.dataLost || (headerRead && !decoded);
}
