// JPEG encoding and decoding over libjpeg, in memory.
//
// libjpeg reports fatal errors through error_exit, which by default ends the
// process. Ours formats the message and longjmps back to Guarded(), the only
// frame that calls setjmp; the steps it runs call nothing but libjpeg, so the
// jump never skips a C++ destructor. Buffers live in the outer frames and
// are released by their owners on every path.
#include "editor/jpeg_file.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {

// Largest number of scans a progressive picture may take: damaged data can
// otherwise hold the decoder in a loop over thousands of tiny scans.
constexpr int kMaxScans = 500;
// Working memory libjpeg may take for one picture.
constexpr long kMaxJpegMemory = 1024L * 1024L * 1024L;

struct TJpegErrorMgr {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void FailWith(j_common_ptr cinfo, const char* text) {
  auto* err = reinterpret_cast<TJpegErrorMgr*>(cinfo->err);
  std::snprintf(err->message, sizeof err->message, "%s", text);
  std::longjmp(err->jump, 1);
}

[[noreturn]] void OnErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TJpegErrorMgr*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings (level -1) report corrupt data that libjpeg would paper over;
// a damaged picture is refused rather than shown half grey. Trace messages
// (level >= 0) are dropped.
void OnEmitMessage(j_common_ptr cinfo, int msg_level) {
  if (msg_level < 0) OnErrorExit(cinfo);
}

void OnOutputMessage(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) FailWith(cinfo, "Too many scans in JPEG data");
}

void InstallErrorManager(TJpegErrorMgr& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = OnErrorExit;
  err.pub.emit_message = OnEmitMessage;
  err.pub.output_message = OnOutputMessage;
  err.message[0] = '\0';
}

// Runs one libjpeg step; false when libjpeg raised an error during it.
template <typename Step>
bool Guarded(TJpegErrorMgr& err, Step&& step) {
  if (setjmp(err.jump)) return false;
  step();
  return true;
}

[[noreturn]] void ThrowJpegError(const TJpegErrorMgr& err, const char* fallback) {
  throw EJpegError(err.message[0] ? err.message : fallback);
}

// Source: the caller's bytes. Running out of them is damage, not a reason
// to invent an end-of-image marker.
void OnInitSource(j_decompress_ptr) {}
boolean OnFillInputBuffer(j_decompress_ptr cinfo) {
  FailWith(reinterpret_cast<j_common_ptr>(cinfo), "Premature end of JPEG data");
}
void OnSkipInputData(j_decompress_ptr cinfo, long num_bytes) {
  if (num_bytes <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  if (static_cast<unsigned long>(num_bytes) > src->bytes_in_buffer)
    FailWith(reinterpret_cast<j_common_ptr>(cinfo), "Premature end of JPEG data");
  src->next_input_byte += num_bytes;
  src->bytes_in_buffer -= static_cast<size_t>(num_bytes);
}
void OnTermSource(j_decompress_ptr) {}

// Destination: a malloc'd buffer that doubles when full; its owner frees it.
struct TJpegDestination {
  jpeg_destination_mgr pub;
  unsigned char* data = nullptr;
  size_t capacity = 0;
  size_t size = 0;
  ~TJpegDestination() { std::free(data); }
};

void OnInitDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<TJpegDestination*>(cinfo->dest);
  dest->pub.next_output_byte = dest->data;
  dest->pub.free_in_buffer = dest->capacity;
}
boolean OnEmptyOutputBuffer(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<TJpegDestination*>(cinfo->dest);
  size_t grown = dest->capacity * 2;
  auto* bigger = static_cast<unsigned char*>(std::realloc(dest->data, grown));
  if (!bigger) FailWith(reinterpret_cast<j_common_ptr>(cinfo), "Out of memory for JPEG data");
  dest->pub.next_output_byte = bigger + dest->capacity;
  dest->pub.free_in_buffer = grown - dest->capacity;
  dest->data = bigger;
  dest->capacity = grown;
  return TRUE;
}
void OnTermDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<TJpegDestination*>(cinfo->dest);
  dest->size = dest->capacity - dest->pub.free_in_buffer;
}

struct TCompressor {
  jpeg_compress_struct cinfo{};
  ~TCompressor() { jpeg_destroy_compress(&cinfo); }
};

struct TDecompressor {
  jpeg_decompress_struct cinfo{};
  ~TDecompressor() { jpeg_destroy_decompress(&cinfo); }
};

void CheckEncodable(const TPixmap& image) {
  const int bpp = image.BitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
    throw EJpegError("Unsupported pixel format for JPEG");
  if (image.Width <= 0 || image.Height <= 0 || image.Width > JPEG_MAX_DIMENSION ||
      image.Height > JPEG_MAX_DIMENSION)
    throw EJpegError("Image size not valid for JPEG");
  const size_t needed = static_cast<size_t>(image.Stride()) * static_cast<size_t>(image.Height);
  if (image.Pixels.size() < needed) throw EJpegError("Image pixels missing");
}

// One row as blue, green, red triples (libjpeg's extended BGR input).
const unsigned char* RowAsBgr(const TPixmap& image, int y, std::vector<uint8_t>& scratch) {
  if (image.BitsPerPixel == 24) return image.Row(y);
  const uint8_t* src = image.Row(y);
  for (int x = 0; x < image.Width; ++x) {
    uint8_t* out = &scratch[static_cast<size_t>(x) * 3];
    if (image.BitsPerPixel == 32) {
      std::memcpy(out, src + static_cast<size_t>(x) * 4, 3);
    } else {
      const uint32_t rgb = image.PixelRGB(x, y);
      out[0] = static_cast<uint8_t>(rgb);
      out[1] = static_cast<uint8_t>(rgb >> 8);
      out[2] = static_cast<uint8_t>(rgb >> 16);
    }
  }
  return scratch.data();
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TPixmap& image, int quality) {
  CheckEncodable(image);
  quality = std::clamp(quality, 1, 100);
  TJpegErrorMgr err;
  TCompressor c;
  TJpegDestination dest;
  dest.capacity = 64 * 1024;
  dest.data = static_cast<unsigned char*>(std::malloc(dest.capacity));
  if (!dest.data) throw EJpegError("Out of memory for JPEG data");
  dest.pub.init_destination = OnInitDestination;
  dest.pub.empty_output_buffer = OnEmptyOutputBuffer;
  dest.pub.term_destination = OnTermDestination;
  InstallErrorManager(err);
  c.cinfo.err = &err.pub;
  jpeg_compress_struct* cinfo = &c.cinfo;
  const bool started = Guarded(err, [&] {
    jpeg_create_compress(cinfo);
    cinfo->dest = &dest.pub;
    cinfo->image_width = static_cast<JDIMENSION>(image.Width);
    cinfo->image_height = static_cast<JDIMENSION>(image.Height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);  // YCbCr, sequential Huffman coding
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
  });
  if (!started) ThrowJpegError(err, "JPEG encoding failed");
  std::vector<uint8_t> scratch(static_cast<size_t>(image.Width) * 3);
  for (int y = 0; y < image.Height; ++y) {
    JSAMPROW row = const_cast<JSAMPROW>(RowAsBgr(image, y, scratch));
    if (!Guarded(err, [&] { jpeg_write_scanlines(cinfo, &row, 1); }))
      ThrowJpegError(err, "JPEG encoding failed");
  }
  if (!Guarded(err, [&] { jpeg_finish_compress(cinfo); }))
    ThrowJpegError(err, "JPEG encoding failed");
  return std::vector<uint8_t>(dest.data, dest.data + dest.size);
}

TPixmap DecodeJpeg(std::span<const uint8_t> bytes) {
  if (bytes.empty()) throw EJpegError("Empty JPEG data");
  TJpegErrorMgr err;
  TDecompressor d;
  jpeg_source_mgr src{};
  src.init_source = OnInitSource;
  src.fill_input_buffer = OnFillInputBuffer;
  src.skip_input_data = OnSkipInputData;
  src.resync_to_restart = jpeg_resync_to_restart;
  src.term_source = OnTermSource;
  src.next_input_byte = bytes.data();
  src.bytes_in_buffer = bytes.size();
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;
  InstallErrorManager(err);
  d.cinfo.err = &err.pub;
  jpeg_decompress_struct* cinfo = &d.cinfo;
  const bool have_header = Guarded(err, [&] {
    jpeg_create_decompress(cinfo);
    cinfo->src = &src;
    cinfo->progress = &progress;
    cinfo->mem->max_memory_to_use = kMaxJpegMemory;
    jpeg_read_header(cinfo, TRUE);
  });
  if (!have_header) ThrowJpegError(err, "Not a JPEG picture");
  if (cinfo->image_width > static_cast<JDIMENSION>(kMaxBmpDimension) ||
      cinfo->image_height > static_cast<JDIMENSION>(kMaxBmpDimension) ||
      static_cast<int64_t>(cinfo->image_width) * cinfo->image_height > kMaxBmpPixels)
    throw EJpegError("JPEG picture too large");
  cinfo->out_color_space = JCS_EXT_BGR;  // grey pictures are expanded too
  TPixmap image(static_cast<int>(cinfo->image_width), static_cast<int>(cinfo->image_height), 24);
  bool complete = false;
  const bool decoded = Guarded(err, [&] {
    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != cinfo->image_width || cinfo->output_components != 3) return;
    while (cinfo->output_scanline < cinfo->output_height) {
      JSAMPROW row = image.Row(static_cast<int>(cinfo->output_scanline));
      if (jpeg_read_scanlines(cinfo, &row, 1) != 1) return;
    }
    jpeg_finish_decompress(cinfo);
    complete = true;
  });
  if (!decoded) ThrowJpegError(err, "Damaged JPEG data");
  if (!complete) throw EJpegError("Damaged JPEG data");
  return image;
}
