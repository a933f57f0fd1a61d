// Reads the resources of a Windows PE file (a visual style, a DLL, a program)
// without loading it: the file is opened read-only and its resource section
// is exposed as a tree of typed items. Every offset, count and length read
// from the file is checked against the file before it is used; a structure
// that would leave the file ends the walk there.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "format/bmp.h"

class EExeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bytes of an opened file: a read-only mapping in the Windows build, the
// file read into memory elsewhere (and for files held in memory).
class TFileView {
 public:
  virtual ~TFileView() = default;
  virtual std::span<const uint8_t> Bytes() const = 0;
};

// Opens a file; EExeError "Couldn't open: NAME", "CreateFileMapping failed"
// (also for an empty file, which cannot be mapped) or "MapViewOfFile failed".
std::unique_ptr<TFileView> OpenFileView(const std::string& file_name);
// A view of bytes already in memory; empty bytes fail as an empty file does.
std::unique_ptr<TFileView> MemoryFileView(std::vector<uint8_t> bytes);

// UTF-16LE text to the 8-bit code page (the ANSI code page on Windows,
// Windows-1252 elsewhere; characters it lacks become "?"). `count` code units
// are read from `utf16le`; a count of 0 reads up to the first NUL. Never reads
// past the span.
std::string WideToAnsi(std::span<const uint8_t> utf16le, size_t count);

class TExeImage;
class TResourceList;

// Resource type identifiers.
enum TResourceType : int32_t {
  rtUnknown0 = 0,
  rtCursorEntry = 1,
  rtBitmap = 2,
  rtIconEntry = 3,
  rtMenu = 4,
  rtDialog = 5,
  rtString = 6,
  rtFontDir = 7,
  rtFont = 8,
  rtAccelerators = 9,
  rtRCData = 10,
  rtMessageTable = 11,
  rtCursor = 12,
  rtUnknown13 = 13,
  rtIcon = 14,
  rtUnknown15 = 15,
  rtVersion = 16,
};
const char* ResourceTypeName(int32_t id);  // "Bitmap" for 2; null outside 0..16

// One entry of a resource directory. Items belong to the list that holds
// them and live as long as the TExeImage.
class TResourceItem {
 public:
  TResourceItem(TResourceList& owner, uint64_t entry);
  virtual ~TResourceItem();
  TResourceItem(const TResourceItem&) = delete;
  TResourceItem& operator=(const TResourceItem&) = delete;

  // Renders the item; the base and the items of other kinds throw EExeError
  // "Cannot assign a ... to a ...".
  virtual void AssignTo(TPixmap& picture) const;
  virtual void AssignTo(std::vector<std::string>& lines) const;
  virtual std::string DisplayName() const;
  // The sub-directory; EExeError "ResourceItem is not a list" for a leaf.
  virtual TResourceList& Children();
  virtual bool IsDirectory() const;
  // The item's data in its file form, appended to `stream`.
  virtual void WriteData(std::vector<uint8_t>& stream) const;
  virtual const char* ClassName() const { return "TResourceItem"; }

  // File offset of the raw bytes (negative or past the file when the entry
  // points outside it) and their count; DataSize is 0 for a directory and for
  // data that does not lie wholly inside the file.
  int64_t DataAddress() const;
  uint32_t DataSize() const;
  std::span<const uint8_t> Data() const;

  bool IsNamed() const { return (Name() & 0x80000000u) != 0; }
  uint32_t Name() const;  // the entry's whole Name field
  uint32_t OffsetToData() const;
  uint64_t Entry() const { return entry_; }  // file offset of the directory entry
  // The bytes of the data entry the item stands for (its first language),
  // whether or not the tree shows the item as a directory; empty when they do
  // not lie inside the file.
  std::span<const uint8_t> LeafData() const;
  TResourceList& Owner() const { return owner_; }
  TExeImage& Image() const;

 protected:
  // File offset of the data entry this item stands for, or -1.
  int64_t DataEntry() const;
  TResourceList& owner_;
  uint64_t entry_;
  std::unique_ptr<TResourceList> sub_list_;
};

// One resource directory and its items (built on first request).
class TResourceList {
 public:
  TResourceList(TExeImage& image, uint64_t directory, int32_t resource_type, TResourceItem* parent);
  virtual ~TResourceList();
  TResourceList(const TResourceList&) = delete;
  TResourceList& operator=(const TResourceList&) = delete;

  virtual const std::vector<std::unique_ptr<TResourceItem>>& Entries();
  int Count() { return static_cast<int>(Entries().size()); }
  TResourceItem& Item(int index) { return *Entries().at(static_cast<size_t>(index)); }

  TExeImage& Image() const { return image_; }
  uint64_t Directory() const { return directory_; }
  int32_t ResourceType() const { return type_; }
  // The item whose Children this list is; null for the root.
  TResourceItem* Parent() const { return parent_; }
  bool IsRoot() const { return parent_ == nullptr; }

 protected:
  TExeImage& image_;
  uint64_t directory_;
  int32_t type_;
  TResourceItem* parent_;
  bool built_ = false;
  std::vector<std::unique_ptr<TResourceItem>> entries_;
};

class TBitMapResource : public TResourceItem {
 public:
  using TResourceItem::AssignTo;
  using TResourceItem::TResourceItem;
  void AssignTo(TPixmap& picture) const override;               // throws EBmpError for bad data
  void WriteData(std::vector<uint8_t>& stream) const override;  // a BMP file
  const char* ClassName() const override { return "TBitMapResource"; }
};

// One icon image; in a group list it knows its 14-byte group entry.
class TIconResEntry : public TResourceItem {
 public:
  TIconResEntry(TResourceList& owner, uint64_t entry, int64_t group_entry = -1)
      : TResourceItem(owner, entry), group_entry_(group_entry) {}
  using TResourceItem::AssignTo;
  void AssignTo(TPixmap& picture) const override;  // the colour image, 32-bit with alpha
  std::string DisplayName() const override;
  void WriteData(std::vector<uint8_t>& stream) const override;  // an .ico (.cur) file
  const char* ClassName() const override { return "TIconResEntry"; }
  int64_t GroupEntry() const { return group_entry_; }

 protected:
  virtual bool IsCursor() const { return false; }
  int64_t group_entry_;
};

class TCursorResEntry : public TIconResEntry {
 public:
  using TIconResEntry::TIconResEntry;
  std::string DisplayName() const override;
  const char* ClassName() const override { return "TCursorResEntry"; }

 protected:
  bool IsCursor() const override { return true; }
};

// An icon group: always a directory whose children are the icons it lists.
class TIconResource : public TResourceItem {
 public:
  using TResourceItem::TResourceItem;
  bool IsDirectory() const override { return true; }
  TResourceList& Children() override;
  const char* ClassName() const override { return "TIconResource"; }

 protected:
  virtual bool IsCursorGroup() const { return false; }
};

class TCursorResource : public TIconResource {
 public:
  using TIconResource::TIconResource;
  const char* ClassName() const override { return "TCursorResource"; }

 protected:
  bool IsCursorGroup() const override { return true; }
};

// The entries of an icon or cursor group, taken from the file's single icons
// (cursors) by identifier.
class TIconResourceList : public TResourceList {
 public:
  TIconResourceList(TExeImage& image, TResourceItem& group, bool cursors);
  const std::vector<std::unique_ptr<TResourceItem>>& Entries() override;

 private:
  bool cursors_;
};

class TStringResource : public TResourceItem {
 public:
  using TResourceItem::AssignTo;
  using TResourceItem::TResourceItem;
  void AssignTo(std::vector<std::string>& lines) const override;
  const char* ClassName() const override { return "TStringResource"; }
};

class TMenuResource : public TResourceItem {
 public:
  using TResourceItem::AssignTo;
  using TResourceItem::TResourceItem;
  void AssignTo(std::vector<std::string>& lines) const override;
  const char* ClassName() const override { return "TMenuResource"; }
};

class TExeImage {
 public:
  // Opens and checks the file (EExeError with the texts of OpenFileView,
  // "unrecognized file format" or "Not a PE (WIN32 Executable) file").
  explicit TExeImage(const std::string& file_name);
  TExeImage(std::unique_ptr<TFileView> view, std::string file_name);
  ~TExeImage();
  TExeImage(const TExeImage&) = delete;
  TExeImage& operator=(const TExeImage&) = delete;

  const std::string& FileName() const { return file_name_; }
  std::span<const uint8_t> Bytes() const { return bytes_; }
  uint64_t NtHeaders() const { return nt_headers_; }
  bool IsPe32Plus() const { return pe32_plus_; }
  int SectionCount() const { return static_cast<int>(sections_.size()); }

  // File offset of the section header named `name` (at most 8 characters,
  // letter case ignored), or -1.
  int64_t FindSection(const std::string& name) const;
  // The resource types; EExeError "No resources in this file." without a
  // ".rsrc" section.
  TResourceList& RootList();
  TResourceItem* IconTypeItem() const { return icon_type_; }
  TResourceItem* CursorTypeItem() const { return cursor_type_; }
  uint64_t SectionBase() const { return section_base_; }
  uint32_t SectionRva() const { return section_rva_; }

  // Bounds-checked little-endian reads; false (and 0) outside the file.
  bool Has(int64_t offset, uint64_t size) const;
  uint16_t U16(int64_t offset) const;
  uint32_t U32(int64_t offset) const;

  // Every list and item of the tree counts against one budget, so that
  // directories that share sub-directories cannot grow the tree without end.
  bool TakeItemBudget(size_t n);

 private:
  friend class TResourceList;
  std::unique_ptr<TFileView> view_;
  std::span<const uint8_t> bytes_;
  std::string file_name_;
  uint64_t nt_headers_ = 0;
  bool pe32_plus_ = false;
  std::vector<uint64_t> sections_;  // file offsets of the section headers
  std::unique_ptr<TResourceList> root_;
  TResourceItem* icon_type_ = nullptr;
  TResourceItem* cursor_type_ = nullptr;
  std::vector<std::unique_ptr<TResourceItem>> held_;  // the icon and cursor type items
  uint64_t section_base_ = 0;
  uint32_t section_rva_ = 0;
  size_t budget_ = 1u << 16;  // real files hold a few thousand items
};
