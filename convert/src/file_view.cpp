// How a PE file's bytes are reached: a read-only mapping of the whole file in
// the Windows build, the file read into memory elsewhere.
#include <cstring>

#include "convert/exe_image.h"
#include "format/file_io.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

class TMemoryView : public TFileView {
 public:
  explicit TMemoryView(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::span<const uint8_t> Bytes() const override { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

#ifdef _WIN32
class TMappedView : public TFileView {
 public:
  explicit TMappedView(const std::string& file_name) {
    file_ = CreateFileA(file_name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) throw EExeError("Couldn't open: " + file_name);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size) || size.QuadPart <= 0 ||
        static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) {
      Release();
      throw EExeError("CreateFileMapping failed");
    }
    mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping_ == nullptr) {
      Release();
      throw EExeError("CreateFileMapping failed");
    }
    base_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
    if (base_ == nullptr) {
      Release();
      throw EExeError("MapViewOfFile failed");
    }
    size_ = static_cast<size_t>(size.QuadPart);
  }
  ~TMappedView() override { Release(); }
  std::span<const uint8_t> Bytes() const override {
    return {static_cast<const uint8_t*>(base_), size_};
  }

 private:
  void Release() {
    if (base_) UnmapViewOfFile(base_);
    if (mapping_) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    base_ = nullptr;
    mapping_ = nullptr;
    file_ = INVALID_HANDLE_VALUE;
  }
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HANDLE mapping_ = nullptr;
  void* base_ = nullptr;
  size_t size_ = 0;
};
#endif

}  // namespace

std::unique_ptr<TFileView> MemoryFileView(std::vector<uint8_t> bytes) {
  // An empty file cannot be mapped; a file held in memory fails the same way.
  if (bytes.empty()) throw EExeError("CreateFileMapping failed");
  return std::make_unique<TMemoryView>(std::move(bytes));
}

std::unique_ptr<TFileView> OpenFileView(const std::string& file_name) {
#ifdef _WIN32
  return std::make_unique<TMappedView>(file_name);
#else
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(file_name, bytes)) throw EExeError("Couldn't open: " + file_name);
  return MemoryFileView(std::move(bytes));
#endif
}

#ifndef _WIN32
namespace {

// Windows-1252 for U+0080..U+009F's printable stand-ins; 0 where the code
// page has no character.
const uint16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ToCp1252(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] != 0 && kCp1252High[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace
#endif

std::string WideToAnsi(std::span<const uint8_t> utf16le, size_t count) {
  size_t avail = utf16le.size() / 2;
  size_t n = count;
  if (n == 0 || n > avail) {
    if (n == 0) {
      n = 0;
      while (n < avail && (utf16le[2 * n] | utf16le[2 * n + 1]) != 0)
        ++n;
    } else {
      n = avail;
    }
  }
  std::vector<uint16_t> units(n);
  for (size_t i = 0; i < n; ++i)
    units[i] = static_cast<uint16_t>(utf16le[2 * i] | utf16le[2 * i + 1] << 8);
  if (n == 0) return {};
#ifdef _WIN32
  static_assert(sizeof(wchar_t) == 2);
  std::wstring w(units.begin(), units.end());
  int len = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
  if (len <= 0) return std::string(n, '?');
  std::string out(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), out.data(), len, nullptr,
                      nullptr);
  return out;
#else
  std::string out;
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    uint16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      ++i;  // a surrogate pair is one character the code page lacks
      out += '?';
      continue;
    }
    out += ToCp1252(u);
  }
  return out;
#endif
}
