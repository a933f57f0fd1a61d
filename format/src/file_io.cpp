#include "format/file_io.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <process.h>
// The one kernel32 call that renames over an existing file; declared here to
// keep this module free of the Windows headers.
extern "C" __declspec(dllimport) int __stdcall MoveFileExA(const char* from, const char* to,
                                                           unsigned long flags);
namespace {
constexpr unsigned long kMoveReplaceExisting = 0x1;
constexpr unsigned long kMoveWriteThrough = 0x8;
constexpr char kSeparator = '\\';
int OpenExclusive(const char* p) {
  return _open(p, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int WriteSome(int fd, const uint8_t* p, size_t n) {
  unsigned chunk = n > (1u << 30) ? (1u << 30) : static_cast<unsigned>(n);
  return _write(fd, p, chunk);
}
int SyncFd(int fd) {
  return _commit(fd);
}
int CloseFd(int fd) {
  return _close(fd);
}
int ProcessId() {
  return _getpid();
}
bool RenameOver(const char* from, const char* to) {
  return MoveFileExA(from, to, kMoveReplaceExisting | kMoveWriteThrough) != 0;
}
bool MakeDir(const char* p) {
  return _mkdir(p) == 0;
}
}  // namespace
#else
#include <unistd.h>
namespace {
constexpr char kSeparator = '/';
int OpenExclusive(const char* p) {
  return open(p, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}
ssize_t WriteSome(int fd, const uint8_t* p, size_t n) {
  return write(fd, p, n);
}
int SyncFd(int fd) {
  return fsync(fd);
}
int CloseFd(int fd) {
  return close(fd);
}
int ProcessId() {
  return static_cast<int>(getpid());
}
bool RenameOver(const char* from, const char* to) {
  return std::rename(from, to) == 0;
}
bool MakeDir(const char* p) {
  return mkdir(p, 0755) == 0;
}
}  // namespace
#endif

namespace {
bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}
}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFREG;
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out, std::string* error,
                   uint64_t max_size) {
  out.clear();
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    if (error) *error = "cannot open \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  bool ok = true;
  uint8_t buf[65536];
  for (;;) {
    size_t n = std::fread(buf, 1, sizeof buf, f);
    if (n > 0) {
      if (out.size() + n > max_size) {
        if (error) *error = "\"" + path + "\" is too large";
        ok = false;
        break;
      }
      out.insert(out.end(), buf, buf + n);
    }
    if (n < sizeof buf) {
      if (std::ferror(f)) {
        if (error) *error = "cannot read \"" + path + "\": " + std::strerror(errno);
        ok = false;
      }
      break;
    }
  }
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

void WriteFileAtomic(const std::string& path, std::span<const uint8_t> data) {
  static std::atomic<unsigned> counter{0};
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = path + "." + std::to_string(ProcessId()) + "-" + std::to_string(counter++) + ".tmp";
    fd = OpenExclusive(tmp.c_str());
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    throw EFileError("Cannot create file \"" + path + "\". " + std::strerror(errno));
  }
  const uint8_t* p = data.data();
  size_t left = data.size();
  bool ok = true;
  while (left > 0) {
    auto n = WriteSome(fd, p, left);
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  int saved = errno;
  if (ok && SyncFd(fd) != 0) {
    ok = false;
    saved = errno;
  }
  if (CloseFd(fd) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    std::remove(tmp.c_str());
    throw EFileError("Cannot write file \"" + path + "\". " + std::strerror(saved));
  }
  if (!RenameOver(tmp.c_str(), path.c_str())) {
    saved = errno;
    std::remove(tmp.c_str());
    throw EFileError("Cannot replace file \"" + path + "\"." +
                     (saved ? std::string(" ") + std::strerror(saved) : std::string()));
  }
}

void WriteFileAtomic(const std::string& path, const std::string& text) {
  WriteFileAtomic(
      path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool DeleteFileIfExists(const std::string& path) {
  return std::remove(path.c_str()) == 0;
}

bool CreateDirectoryIfMissing(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return (st.st_mode & S_IFMT) == S_IFDIR;
  return MakeDir(path.c_str());
}

std::string ExtractFileName(const std::string& path) {
  size_t i = path.size();
  while (i > 0 && !IsSeparator(path[i - 1]) && path[i - 1] != ':')
    --i;
  return path.substr(i);
}

std::string ExtractFilePath(const std::string& path) {
  size_t i = path.size();
  while (i > 0 && !IsSeparator(path[i - 1]) && path[i - 1] != ':')
    --i;
  return path.substr(0, i);
}

std::string IncludeTrailingSeparator(const std::string& folder) {
  if (folder.empty() || IsSeparator(folder.back())) return folder;
  return folder + kSeparator;
}

std::string SafeFileName(const std::string& member_name) {
  std::string s;
  s.reserve(member_name.size());
  for (char c : member_name) {
    unsigned char u = static_cast<unsigned char>(c);
    bool bad = u < 0x20 || u == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' ||
               c == '"' || c == '<' || c == '>' || c == '|';
    s += bad ? '_' : c;
  }
  // No "..", and no trailing dots or spaces (Windows strips those).
  size_t pos;
  while ((pos = s.find("..")) != std::string::npos)
    s[pos] = '_';
  for (size_t i = s.size(); i > 0 && (s[i - 1] == '.' || s[i - 1] == ' '); --i)
    s[i - 1] = '_';
  if (s.empty()) return "member";
  // CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices on Windows, with any
  // extension.
  std::string stem = s.substr(0, s.find('.'));
  for (char& c : stem)
    c = static_cast<char>((c >= 'a' && c <= 'z') ? c - 32 : c);
  while (!stem.empty() && stem.back() == ' ')
    stem.pop_back();
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  bool device = false;
  for (const char* d : kDevices)
    device = device || stem == d;
  if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
      stem[3] >= '1' && stem[3] <= '9') {
    device = true;
  }
  if (device) s = "_" + s;
  return s;
}
