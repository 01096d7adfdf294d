#include "imageviewer/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace {

// Everything one decode needs, in one plain structure: libjpeg's error exit
// jumps back to the setjmp in RunDecode, so no object with a destructor may
// live in the frames it leaves.
struct TJpegJob {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    TJpegTarget* target;
    const uint8_t* data;
    size_t size;
    int maxScans;
};

TJpegJob* JobOf(j_common_ptr info) { return static_cast<TJpegJob*>(info->client_data); }

[[noreturn]] void Fail(j_common_ptr info) { std::longjmp(JobOf(info)->jump, 1); }

// Warnings are corrupt data too: a damaged file is refused rather than shown
// half grey, and decoding never runs on over a truncated file.
void EmitMessage(j_common_ptr info, int level)
{
    if (level < 0)
        Fail(info);
}

void OutputMessage(j_common_ptr) {}

// Called as input is consumed: a progressive file with more scans than any
// real picture has is refused before it costs unbounded time.
void WatchScans(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > JobOf(info)->maxScans)
        Fail(info);
}

bool ShownColourModel(const jpeg_decompress_struct& info)
{
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        return info.num_components == 1;
    case JCS_YCbCr:
    case JCS_RGB:
        return info.num_components == 3;
    case JCS_CMYK:
    case JCS_YCCK:
        return info.num_components == 4;
    default:
        return false;
    }
}

// Inverted CMYK (as Adobe's programs write it) to blue, green, red, rounded
// exactly as libjpeg's djpeg converts it.
void CmykRowToBgr(const JSAMPLE* cmyk, uint8_t* bgr, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        double k = cmyk[3];
        bgr[2] = static_cast<uint8_t>(cmyk[0] * k / 255.0 + 0.5);
        bgr[1] = static_cast<uint8_t>(cmyk[1] * k / 255.0 + 0.5);
        bgr[0] = static_cast<uint8_t>(cmyk[2] * k / 255.0 + 0.5);
    }
}

void ReadRows(TJpegJob& job, uint8_t* bits, int stride)
{
    jpeg_decompress_struct& info = job.info;
    const JDIMENSION height = info.output_height;
    if (info.out_color_space == JCS_CMYK) {
        JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                  info.output_width * 4, 1);
        while (info.output_scanline < height) {
            uint8_t* out = bits + static_cast<size_t>(height - 1 - info.output_scanline) * stride;
            if (jpeg_read_scanlines(&info, row, 1) != 1)
                Fail(reinterpret_cast<j_common_ptr>(&info));
            CmykRowToBgr(row[0], out, info.output_width);
        }
        return;
    }
    // Straight into the bitmap's rows, a few at a time.
    JSAMPROW rows[16];
    while (info.output_scanline < height) {
        JDIMENSION count = height - info.output_scanline;
        if (count > 16)
            count = 16;
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = bits + static_cast<size_t>(height - 1 - info.output_scanline - i) * stride;
        if (jpeg_read_scanlines(&info, rows, count) == 0)
            Fail(reinterpret_cast<j_common_ptr>(&info));
    }
}

// The setjmp frame: only plain data here and in everything libjpeg's error
// exit can leave.
bool RunDecode(TJpegJob& job)
{
    jpeg_decompress_struct& info = job.info;
    if (setjmp(job.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &job.progress;
    // Progressive files keep every coefficient: bound what libjpeg may take.
    info.mem->max_memory_to_use = 400L * 1024 * 1024;
    jpeg_mem_src(&info, job.data, static_cast<unsigned long>(job.size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || !ShownColourModel(info))
        Fail(reinterpret_cast<j_common_ptr>(&info));
    if (static_cast<uint64_t>(info.image_width) * info.image_height > kJpegMaxPixels)
        Fail(reinterpret_cast<j_common_ptr>(&info));
    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&info);

    int width = static_cast<int>(info.output_width), height = static_cast<int>(info.output_height);
    int stride = BitmapStride24(width);
    uint8_t* bits = job.target->Allocate(width, height, stride);
    if (!bits)
        Fail(reinterpret_cast<j_common_ptr>(&info));
    ReadRows(job, bits, stride);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, TJpegTarget& target, int maxScans)
{
    if (!data || size < 4 || size > 0x7FFFFFFF)
        return false;
    TJpegJob job{};
    job.info.client_data = &job;
    job.target = &target;
    job.data = data;
    job.size = size;
    job.maxScans = maxScans;
    job.info.err = jpeg_std_error(&job.errors);
    job.errors.error_exit = Fail;
    job.errors.emit_message = EmitMessage;
    job.errors.output_message = OutputMessage;
    job.progress.progress_monitor = WatchScans;
    return RunDecode(job);
}
