#include "platform/JpegImage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace gui {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;  // first, so libjpeg's pointer is also ours
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Bytes of one DIB row: three per pixel, padded to a multiple of four.
LONG DibStride(JDIMENSION width) { return static_cast<LONG>((width * 3 + 3) & ~3u); }

HBITMAP CreateTopDownDib(JDIMENSION width, JDIMENSION height, unsigned char** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<unsigned char*>(pixels);
    return bitmap;
}

// Keeps C++ objects with destructors out of the frame that setjmp returns into; everything
// the error path needs to see is volatile or lives in `decoder`.
HBITMAP Decode(jpeg_decompress_struct& decoder, const unsigned char* data, size_t size) {
    ErrorManager errors;
    decoder.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.output_message = IgnoreMessage;

    HBITMAP volatile bitmap = nullptr;
    unsigned char* volatile bits = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&decoder);
        return bitmap;  // none before the rows, partly filled during them
    }

    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&decoder, TRUE);
    decoder.dct_method = JDCT_ISLOW;
    decoder.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder);

    unsigned char* pixels = nullptr;
    bitmap = CreateTopDownDib(decoder.output_width, decoder.output_height, &pixels);
    bits = pixels;
    if (!bitmap) {
        jpeg_destroy_decompress(&decoder);
        return nullptr;
    }
    const LONG stride = DibStride(decoder.output_width);
    while (decoder.output_scanline < decoder.output_height) {
        unsigned char* row = bits + static_cast<size_t>(decoder.output_scanline) * stride;
        JSAMPROW rows[] = {row};
        jpeg_read_scanlines(&decoder, rows, 1);
        for (JDIMENSION x = 0; x < decoder.output_width; ++x) {  // RGB to the DIB's BGR
            unsigned char red = row[3 * x];
            row[3 * x] = row[3 * x + 2];
            row[3 * x + 2] = red;
        }
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return bitmap;
}

}  // namespace

UniqueBitmap DecodeJpeg(const unsigned char* data, size_t size) {
    if (!data || size == 0) return UniqueBitmap();
    jpeg_decompress_struct decoder{};
    return UniqueBitmap(Decode(decoder, data, size));
}

}  // namespace gui
