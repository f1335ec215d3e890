#include "platform/JpegImage.h"

#include "resources/Blobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

// Encodes a small picture with the same libjpeg, so each case is made from known pixels.
// Every pixel is `pixel` (one byte per component).
std::vector<unsigned char> Encode(int width, int height, J_COLOR_SPACE space,
                                  const std::vector<unsigned char>& pixel,
                                  void (*options)(jpeg_compress_struct&) = nullptr) {
    const int components = static_cast<int>(pixel.size());
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &out, &size);
    encoder.image_width = width;
    encoder.image_height = height;
    encoder.input_components = components;
    encoder.in_color_space = space;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, 95, TRUE);
    if (options) options(encoder);
    jpeg_start_compress(&encoder, TRUE);
    std::vector<unsigned char> row;
    for (int x = 0; x < width; ++x) row.insert(row.end(), pixel.begin(), pixel.end());
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&encoder, rows, 1);
    }
    jpeg_finish_compress(&encoder);
    std::vector<unsigned char> bytes(out, out + size);
    jpeg_destroy_compress(&encoder);
    free(out);
    return bytes;
}

struct Pixels {
    int width = 0, height = 0;
    std::vector<unsigned char> bgr;  // 24-bit rows, top-down, padded to four bytes
    COLORREF At(int x, int y) const {
        size_t stride = (width * 3 + 3) & ~3;
        const unsigned char* p = &bgr[y * stride + x * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

Pixels Read(HBITMAP bitmap) {
    Pixels pixels;
    DIBSECTION dib{};
    if (GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib) return pixels;
    pixels.width = dib.dsBm.bmWidth;
    pixels.height = dib.dsBm.bmHeight;
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    auto* bits = static_cast<unsigned char*>(dib.dsBm.bmBits);
    pixels.bgr.assign(bits, bits + dib.dsBm.bmWidthBytes * pixels.height);
    return pixels;
}

bool Near(COLORREF colour, int r, int g, int b) {
    return std::abs(GetRValue(colour) - r) < 12 && std::abs(GetGValue(colour) - g) < 12 &&
           std::abs(GetBValue(colour) - b) < 12;
}

TEST(JpegImageTest, ColourPictureKeepsItsSizeAndColours) {
    // A colour that tells red from blue: a decoder that forgot the DIB's BGR order would
    // give (90, 40, 200).
    std::vector<unsigned char> picture = Encode(13, 5, JCS_RGB, {200, 40, 90});
    UniqueBitmap bitmap = gui::DecodeJpeg(picture.data(), picture.size());
    ASSERT_TRUE(bitmap);
    Pixels pixels = Read(bitmap.get());
    EXPECT_EQ(pixels.width, 13);
    EXPECT_EQ(pixels.height, 5);
    EXPECT_TRUE(Near(pixels.At(6, 2), 200, 40, 90)) << std::hex << pixels.At(6, 2);
    EXPECT_TRUE(Near(pixels.At(12, 4), 200, 40, 90)) << std::hex << pixels.At(12, 4);
}

TEST(JpegImageTest, GrayscaleComesOutAsRgb) {
    std::vector<unsigned char> gray = Encode(9, 4, JCS_GRAYSCALE, {128});
    UniqueBitmap bitmap = gui::DecodeJpeg(gray.data(), gray.size());
    ASSERT_TRUE(bitmap);
    Pixels pixels = Read(bitmap.get());
    EXPECT_EQ(pixels.width, 9);
    EXPECT_TRUE(Near(pixels.At(4, 2), 128, 128, 128)) << std::hex << pixels.At(4, 2);
}

TEST(JpegImageTest, RejectedBeforeTheRowsGivesNoBitmap) {
    std::vector<unsigned char> good = Encode(16, 16, JCS_RGB, {90, 90, 90});
    std::vector<unsigned char> badHeader = good;
    for (size_t i = 0; i + 8 < badHeader.size(); ++i) {  // width 0 in the frame header
        if (badHeader[i] == 0xFF && badHeader[i + 1] == 0xC0) {
            badHeader[i + 7] = 0;
            badHeader[i + 8] = 0;
            break;
        }
    }
    const std::string notJpeg = "GIF89a this is not a JPEG at all";
    const struct {
        const char* name;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"not a JPEG", std::vector<unsigned char>(notJpeg.begin(), notJpeg.end())},
        {"bad frame header", badHeader},
        {"only the start marker", {0xFF, 0xD8}},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(gui::DecodeJpeg(c.bytes.data(), c.bytes.size())) << c.name;
    }
    EXPECT_FALSE(gui::DecodeJpeg(nullptr, 0));
}

// Cut in the middle of its scan, the banner decodes as far as its bytes go: the rows above the
// cut are the banner's own, those below are not.
// The decoder is built for baseline, interleaved files only (see scripts/build-libjpeg): what
// else an encoder may choose for such a file decodes to the same pixels; a progressive or a
// non-interleaved file is refused through the error exit, before any row, and gives no picture.
TEST(JpegImageTest, TheTrimmedDecoderReadsEveryBaselineInterleavedFileAndRefusesTheRest) {
    const std::vector<unsigned char> colour = {0x20, 0xC0, 0x60};
    const std::vector<unsigned char> plain = Encode(48, 24, JCS_RGB, colour);
    UniqueBitmap reference = gui::DecodeJpeg(plain.data(), plain.size());
    ASSERT_TRUE(reference);
    const Pixels expected = Read(reference.get());

    struct Case {
        const char* name;
        void (*options)(jpeg_compress_struct&);
        bool readable;
    };
    const Case cases[] = {
        {"restart markers", [](jpeg_compress_struct& e) { e.restart_interval = 1; }, true},
        {"optimised Huffman tables", [](jpeg_compress_struct& e) { e.optimize_coding = TRUE; }, true},
        {"4:4:4", [](jpeg_compress_struct& e) {
             for (int c = 0; c < 3; ++c) e.comp_info[c].h_samp_factor = e.comp_info[c].v_samp_factor = 1;
         }, true},
        {"progressive", [](jpeg_compress_struct& e) { jpeg_simple_progression(&e); }, false},
        {"one scan per component", [](jpeg_compress_struct& e) {
             static jpeg_scan_info scans[3];
             for (int c = 0; c < 3; ++c) scans[c] = {1, {c}, 0, 63, 0, 0};
             e.scan_info = scans;
             e.num_scans = 3;
         }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<unsigned char> bytes = Encode(48, 24, JCS_RGB, colour, c.options);
        UniqueBitmap bitmap = gui::DecodeJpeg(bytes.data(), bytes.size());
        if (c.readable) {
            ASSERT_TRUE(bitmap);
            EXPECT_EQ(Read(bitmap.get()).bgr, expected.bgr);
        } else {
            EXPECT_FALSE(bitmap);
        }
    }
}

TEST(JpegImageTest, TruncatedScanKeepsThePartlyFilledBitmap) {
    Blob banner = PictureBlob();
    ASSERT_GT(banner.Size(), 1000u);
    UniqueBitmap whole = gui::DecodeJpeg(banner.start, banner.Size());
    std::vector<unsigned char> cut(banner.start, banner.start + banner.Size() / 2);
    UniqueBitmap part = gui::DecodeJpeg(cut.data(), cut.size());
    ASSERT_TRUE(whole);
    ASSERT_TRUE(part);
    const Pixels expected = Read(whole.get()), pixels = Read(part.get());
    ASSERT_EQ(pixels.width, 212);
    ASSERT_EQ(pixels.height, 42);
    ASSERT_EQ(expected.bgr.size(), pixels.bgr.size());

    const size_t stride = pixels.bgr.size() / 42;
    auto sameRow = [&](int y) {
        return std::equal(pixels.bgr.begin() + y * stride, pixels.bgr.begin() + (y + 1) * stride,
                          expected.bgr.begin() + y * stride);
    };
    int decoded = 0;
    while (decoded < 42 && sameRow(decoded)) ++decoded;
    EXPECT_GE(decoded, 8) << "at least the first row of blocks is the banner's";
    EXPECT_LT(decoded, 42) << "the bytes after the cut are missing";
    for (int y = decoded; y < 42; ++y) EXPECT_FALSE(sameRow(y)) << "row " << y << " lies past the cut";
}

TEST(JpegImageTest, BannerDecodesToItsLayoutSizeWithGreenOnBlack) {
    Blob banner = PictureBlob();
    UniqueBitmap bitmap = gui::DecodeJpeg(banner.start, banner.Size());
    ASSERT_TRUE(bitmap);
    Pixels pixels = Read(bitmap.get());
    ASSERT_EQ(pixels.width, 212);
    ASSERT_EQ(pixels.height, 42);
    EXPECT_TRUE(Near(pixels.At(0, 0), 0, 0, 0));
    int green = 0;
    for (int y = 0; y < 42; ++y) {
        for (int x = 0; x < 212; ++x) {
            COLORREF c = pixels.At(x, y);
            if (GetGValue(c) > 180 && GetRValue(c) < 80 && GetBValue(c) < 80) ++green;
        }
    }
    EXPECT_GT(green, 200) << "the letters are bright green";
}

}  // namespace
