// The PE headers, the resource directory tree and the typed resource items.
#include "convert/exe_image.h"

#include <algorithm>
#include <cstdio>

#include "format/text.h"

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint32_t kLowBits = 0x7FFFFFFFu;
constexpr int kMaxDepth = 16;  // a real tree is three levels deep

const char* const kTypeNames[17] = {
    "Unknown0", "CursorEntry", "Bitmap", "IconEntry",    "Menu",   "Dialog",
    "String",   "FontDir",     "Font",   "Accelerators", "RCData", "MessageTable",
    "Cursor",   "Unknown13",   "Icon",   "Unknown15",    "Version"};

std::unique_ptr<TResourceItem> MakeItem(TResourceList& list, uint64_t entry, int32_t type) {
  switch (type) {
    case rtCursorEntry:
      return std::make_unique<TCursorResEntry>(list, entry);
    case rtBitmap:
      return std::make_unique<TBitMapResource>(list, entry);
    case rtIconEntry:
      return std::make_unique<TIconResEntry>(list, entry);
    case rtMenu:
      return std::make_unique<TMenuResource>(list, entry);
    case rtString:
      return std::make_unique<TStringResource>(list, entry);
    case rtCursor:
      return std::make_unique<TCursorResource>(list, entry);
    case rtIcon:
      return std::make_unique<TIconResource>(list, entry);
    default:
      return std::make_unique<TResourceItem>(list, entry);
  }
}

void PutU16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& o, uint32_t v) {
  PutU16(o, v & 0xFFFF);
  PutU16(o, v >> 16);
}
uint16_t Get16(std::span<const uint8_t> d, size_t at) {
  return at + 2 <= d.size() ? static_cast<uint16_t>(d[at] | d[at + 1] << 8) : 0;
}
uint32_t Get32(std::span<const uint8_t> d, size_t at) {
  return at + 4 <= d.size() ? static_cast<uint32_t>(Get16(d, at) | Get16(d, at + 2) << 16) : 0;
}

uint32_t PaletteEntries(uint32_t bits) {
  return (bits == 1 || bits == 4 || bits == 8) ? (1u << bits) : 0;
}

}  // namespace

const char* ResourceTypeName(int32_t id) {
  return id >= 0 && id <= 16 ? kTypeNames[id] : nullptr;
}

// ---------------------------------------------------------------- TExeImage

TExeImage::TExeImage(const std::string& file_name)
    : TExeImage(OpenFileView(file_name), file_name) {}

TExeImage::TExeImage(std::unique_ptr<TFileView> view, std::string file_name)
    : view_(std::move(view)), file_name_(std::move(file_name)) {
  bytes_ = view_->Bytes();
  if (!Has(0, 2) || U16(0) != 0x5A4D) throw EExeError("unrecognized file format");
  const char* not_pe = "Not a PE (WIN32 Executable) file";
  if (!Has(60, 4)) throw EExeError(not_pe);
  nt_headers_ = U32(60);
  // Signature and file header, then an optional header of the size the file
  // header gives (224 bytes for PE32, 240 for PE32+); the section table
  // follows it.
  int64_t nt = static_cast<int64_t>(nt_headers_);
  if (!Has(nt, 24) || U32(nt) != 0x00004550) throw EExeError(not_pe);
  uint32_t optional_size = U16(nt + 20);
  if (!Has(nt, 24 + uint64_t{optional_size})) throw EExeError(not_pe);
  pe32_plus_ = optional_size >= 2 && U16(nt + 24) == 0x20B;
  uint32_t sections = U16(nt + 6);
  int64_t table = nt + 24 + optional_size;
  for (uint32_t i = 0; i < sections && Has(table + 40 * int64_t{i}, 40); ++i)
    sections_.push_back(static_cast<uint64_t>(table + 40 * int64_t{i}));
}

TExeImage::~TExeImage() = default;

bool TExeImage::Has(int64_t offset, uint64_t size) const {
  return offset >= 0 && static_cast<uint64_t>(offset) <= bytes_.size() &&
         size <= bytes_.size() - static_cast<uint64_t>(offset);
}

uint16_t TExeImage::U16(int64_t offset) const {
  if (!Has(offset, 2)) return 0;
  size_t o = static_cast<size_t>(offset);
  return static_cast<uint16_t>(bytes_[o] | bytes_[o + 1] << 8);
}

uint32_t TExeImage::U32(int64_t offset) const {
  if (!Has(offset, 4)) return 0;
  return static_cast<uint32_t>(U16(offset) | U16(offset + 2) << 16);
}

bool TExeImage::TakeItemBudget(size_t n) {
  if (n > budget_) return false;
  budget_ -= n;
  return true;
}

int64_t TExeImage::FindSection(const std::string& name) const {
  for (uint64_t header : sections_) {
    bool match = true;
    for (size_t i = 0; i < 8; ++i) {
      char a = static_cast<char>(bytes_[static_cast<size_t>(header + i)]);
      char b = i < name.size() ? name[i] : '\0';
      if (LowerAscii(a) != LowerAscii(b)) {
        match = false;
        break;
      }
      if (a == '\0') break;
    }
    if (match) return static_cast<int64_t>(header);
  }
  return -1;
}

TResourceList& TExeImage::RootList() {
  if (!root_) {
    int64_t section = FindSection(".rsrc");
    if (section < 0) throw EExeError("No resources in this file.");
    section_base_ = U32(section + 20);
    section_rva_ = U32(section + 12);
    // A resource section whose data lies outside the file holds nothing.
    if (!Has(static_cast<int64_t>(section_base_), 16))
      throw EExeError("No resources in this file.");
    root_ = std::make_unique<TResourceList>(*this, section_base_, 0, nullptr);
  }
  return *root_;
}

// ------------------------------------------------------------ TResourceList

TResourceList::TResourceList(TExeImage& image, uint64_t directory, int32_t resource_type,
                             TResourceItem* parent)
    : image_(image), directory_(directory), type_(resource_type), parent_(parent) {}

TResourceList::~TResourceList() = default;

const std::vector<std::unique_ptr<TResourceItem>>& TResourceList::Entries() {
  if (built_) return entries_;
  built_ = true;
  // A directory that is one of its own ancestors would make the walk endless:
  // such a list is empty. So is one nested deeper than any real tree.
  int depth = 0;
  for (TResourceItem* p = parent_; p != nullptr; p = p->Owner().Parent()) {
    if (p->Owner().Directory() == directory_ || ++depth > kMaxDepth) return entries_;
  }
  int64_t dir = static_cast<int64_t>(directory_);
  if (!image_.Has(dir, 16)) return entries_;
  uint32_t n = uint32_t{image_.U16(dir + 12)} + image_.U16(dir + 14);
  for (uint32_t i = 0; i < n; ++i) {
    int64_t entry = dir + 16 + 8 * int64_t{i};
    if (!image_.Has(entry, 8) || !image_.TakeItemBudget(1)) break;
    auto item = MakeItem(*this, static_cast<uint64_t>(entry), type_);
    if (IsRoot() && !item->IsNamed() && (item->Name() == 3 || item->Name() == 1)) {
      // Single icons and cursors are reached through their groups only.
      (item->Name() == 3 ? image_.icon_type_ : image_.cursor_type_) = item.get();
      image_.held_.push_back(std::move(item));
      continue;
    }
    entries_.push_back(std::move(item));
  }
  return entries_;
}

TIconResourceList::TIconResourceList(TExeImage& image, TResourceItem& group, bool cursors)
    : TResourceList(image, static_cast<uint64_t>(std::max<int64_t>(0, group.DataAddress())),
                    cursors ? rtCursorEntry : rtIconEntry, &group),
      cursors_(cursors) {}

const std::vector<std::unique_ptr<TResourceItem>>& TIconResourceList::Entries() {
  if (built_) return entries_;
  built_ = true;
  TResourceItem* singles = cursors_ ? image_.CursorTypeItem() : image_.IconTypeItem();
  if (!singles || !singles->IsDirectory()) return entries_;
  // The group's own bytes: a 6-byte header whose count is at offset 4, then
  // 14-byte entries with the image identifier at offset 12.
  std::span<const uint8_t> data = parent_->LeafData();
  int64_t address = parent_->DataAddress();
  uint32_t n = Get16(data, 4);
  TResourceList& pool = singles->Children();
  for (uint32_t i = 0; i < n && 6 + 14 * size_t{i} + 14 <= data.size(); ++i) {
    size_t at = 6 + 14 * size_t{i};
    uint32_t id = Get16(data, at + 12);
    for (const auto& single : pool.Entries()) {
      if (single->IsNamed() || single->Name() != id) continue;
      if (!image_.TakeItemBudget(1)) return entries_;
      int64_t group_entry = address + static_cast<int64_t>(at);
      if (cursors_) {
        entries_.push_back(std::make_unique<TCursorResEntry>(*this, single->Entry(), group_entry));
      } else {
        entries_.push_back(std::make_unique<TIconResEntry>(*this, single->Entry(), group_entry));
      }
    }
  }
  return entries_;
}

// ------------------------------------------------------------ TResourceItem

TResourceItem::TResourceItem(TResourceList& owner, uint64_t entry) : owner_(owner), entry_(entry) {}

TResourceItem::~TResourceItem() = default;

TExeImage& TResourceItem::Image() const {
  return owner_.Image();
}

uint32_t TResourceItem::Name() const {
  return Image().U32(static_cast<int64_t>(entry_));
}

uint32_t TResourceItem::OffsetToData() const {
  return Image().U32(static_cast<int64_t>(entry_) + 4);
}

// The item's sub-directory holds its languages (or, for a type, its names);
// the item stands for the first of them. An entry that points straight at a
// data entry is its own leaf.
int64_t TResourceItem::DataEntry() const {
  TExeImage& image = Image();
  uint32_t own = OffsetToData();
  int64_t base = static_cast<int64_t>(image.SectionBase());
  int64_t data_entry;
  if ((own & kHighBit) == 0) {
    data_entry = base + own;
  } else {
    int64_t sub = base + (own & kLowBits);
    if (!image.Has(sub, 24)) return -1;
    uint32_t count = uint32_t{image.U16(sub + 12)} + image.U16(sub + 14);
    uint32_t first = image.U32(sub + 20);
    if (count == 0 || (first & kHighBit) != 0) return -1;
    data_entry = base + first;
  }
  return image.Has(data_entry, 8) ? data_entry : -1;
}

bool TResourceItem::IsDirectory() const {
  if ((OffsetToData() & kHighBit) == 0) return false;
  TExeImage& image = Image();
  int64_t sub = static_cast<int64_t>(image.SectionBase() + (OffsetToData() & kLowBits));
  uint32_t count = uint32_t{image.U16(sub + 12)} + image.U16(sub + 14);
  // An empty (or unreadable) sub-directory is a directory without children.
  if (count == 0 || !image.Has(sub + 16, 8)) return true;
  return (image.U32(sub + 20) & kHighBit) != 0;
}

int64_t TResourceItem::DataAddress() const {
  int64_t de = DataEntry();
  if (de < 0) return -1;
  TExeImage& image = Image();
  return int64_t{image.U32(de)} + static_cast<int64_t>(image.SectionBase()) -
         int64_t{image.SectionRva()};
}

std::span<const uint8_t> TResourceItem::LeafData() const {
  int64_t de = DataEntry();
  if (de < 0) return {};
  TExeImage& image = Image();
  int64_t address = DataAddress();
  uint32_t size = image.U32(de + 4);
  if (!image.Has(address, size)) return {};
  return image.Bytes().subspan(static_cast<size_t>(address), size);
}

uint32_t TResourceItem::DataSize() const {
  return IsDirectory() ? 0 : static_cast<uint32_t>(LeafData().size());
}

std::span<const uint8_t> TResourceItem::Data() const {
  return IsDirectory() ? std::span<const uint8_t>() : LeafData();
}

std::string TResourceItem::DisplayName() const {
  uint32_t name = Name();
  if ((name & kHighBit) == 0) {
    if (owner_.IsRoot() && name <= 16) return kTypeNames[name];
    return std::to_string(name);
  }
  TExeImage& image = Image();
  int64_t at = static_cast<int64_t>(image.SectionBase() + (name & kLowBits));
  if (!image.Has(at, 2)) return {};
  uint32_t count = image.U16(at);
  if (count == 0) return {};
  uint64_t avail = image.Bytes().size() - static_cast<uint64_t>(at + 2);
  size_t units = static_cast<size_t>(std::min<uint64_t>(count, avail / 2));
  if (units == 0) return {};
  return WideToAnsi(image.Bytes().subspan(static_cast<size_t>(at + 2), units * 2), units);
}

TResourceList& TResourceItem::Children() {
  if (!IsDirectory()) throw EExeError("ResourceItem is not a list");
  if (!sub_list_) {
    // Items of a type's list take their class from the type; deeper lists
    // take the type of the list two levels up.
    int32_t type =
        owner_.IsRoot() ? static_cast<int32_t>(Name()) : owner_.Parent()->Owner().ResourceType();
    uint64_t dir = Image().SectionBase() + (OffsetToData() & kLowBits);
    sub_list_ = std::make_unique<TResourceList>(Image(), dir, type, this);
  }
  return *sub_list_;
}

void TResourceItem::WriteData(std::vector<uint8_t>& stream) const {
  std::span<const uint8_t> d = Data();
  stream.insert(stream.end(), d.begin(), d.end());
}

void TResourceItem::AssignTo(TPixmap&) const {
  throw EExeError(std::string("Cannot assign a ") + ClassName() + " to a TPicture");
}

void TResourceItem::AssignTo(std::vector<std::string>&) const {
  throw EExeError(std::string("Cannot assign a ") + ClassName() + " to a TStrings");
}

// ---------------------------------------------------------------- bitmaps

void TBitMapResource::WriteData(std::vector<uint8_t>& stream) const {
  std::span<const uint8_t> d = Data();
  uint32_t header = Get32(d, 0);
  uint32_t off_bits = 14;
  if (header == 12) {
    off_bits += 12 + 3 * PaletteEntries(Get16(d, 10));
  } else if (header >= 16) {
    uint32_t bits = Get16(d, 14);
    uint32_t compression = header >= 20 ? Get32(d, 16) : 0;
    uint32_t used = header >= 36 ? Get32(d, 32) : 0;
    // The colour masks follow a 40-byte header when the compression says so;
    // the larger headers hold them inside.
    uint32_t masks = 0;
    if (header == 40 && compression == 3) masks = 12;
    if (header == 40 && compression == 6) masks = 16;
    uint32_t colours = used != 0 ? std::min<uint32_t>(used, 1u << 16) : PaletteEntries(bits);
    off_bits += header + masks + 4 * colours;
  }
  stream.reserve(stream.size() + 14 + d.size());
  PutU16(stream, 0x4D42);
  PutU32(stream, static_cast<uint32_t>(d.size()) + 14);
  PutU32(stream, 0);
  PutU32(stream, off_bits);
  stream.insert(stream.end(), d.begin(), d.end());
}

void TBitMapResource::AssignTo(TPixmap& picture) const {
  std::vector<uint8_t> file;
  WriteData(file);
  picture = DecodeBmp(file);
}

// ------------------------------------------------------- icons and cursors

std::string TIconResEntry::DisplayName() const {
  if (group_entry_ < 0) return TResourceItem::DisplayName();
  TExeImage& image = Image();
  const uint8_t* e = image.Bytes().data() + group_entry_;
  char text[64];
  std::snprintf(text, sizeof text, "%d X %d %d Colors", e[0], e[1], e[2]);
  return text;
}

std::string TCursorResEntry::DisplayName() const {
  if (group_entry_ < 0) return TIconResEntry::DisplayName();
  TExeImage& image = Image();
  int width = image.U16(group_entry_);
  int bits = image.U16(group_entry_ + 6);
  char text[64];
  std::snprintf(text, sizeof text, "%d X %d %d Bit(s)", width, width, bits);
  return text;
}

void TIconResEntry::WriteData(std::vector<uint8_t>& stream) const {
  std::span<const uint8_t> d = Data();
  uint32_t hot_x = 0, hot_y = 0;
  if (IsCursor()) {
    // A cursor image starts with its hot spot.
    hot_x = Get16(d, 0);
    hot_y = Get16(d, 2);
    d = d.size() >= 4 ? d.subspan(4) : std::span<const uint8_t>();
  }
  uint32_t width = Get32(d, 4), height = Get32(d, 8) / 2, bits = Get16(d, 14), colours = 0;
  if (group_entry_ >= 0 && !IsCursor()) {
    TExeImage& image = Image();
    width = image.Bytes()[static_cast<size_t>(group_entry_)];
    height = image.Bytes()[static_cast<size_t>(group_entry_) + 1];
    colours = image.Bytes()[static_cast<size_t>(group_entry_) + 2];
  }
  PutU16(stream, 0);
  PutU16(stream, IsCursor() ? 2 : 1);
  PutU16(stream, 1);
  stream.push_back(static_cast<uint8_t>(width >= 256 ? 0 : width));
  stream.push_back(static_cast<uint8_t>(height >= 256 ? 0 : height));
  stream.push_back(static_cast<uint8_t>(colours));
  stream.push_back(0);
  PutU16(stream, IsCursor() ? hot_x : 1);
  PutU16(stream, IsCursor() ? hot_y : bits);
  PutU32(stream, static_cast<uint32_t>(d.size()));
  PutU32(stream, 22);
  stream.insert(stream.end(), d.begin(), d.end());
}

void TIconResEntry::AssignTo(TPixmap& picture) const {
  std::span<const uint8_t> d = Data();
  if (IsCursor()) d = d.size() >= 4 ? d.subspan(4) : std::span<const uint8_t>();
  if (d.size() >= 8 && d[0] == 0x89 && d[1] == 'P' && d[2] == 'N' && d[3] == 'G')
    throw EBmpError("PNG icon images are not supported");
  if (d.size() < 40 || Get32(d, 0) < 40) throw EBmpError("not an icon image");
  // The stored height counts the colour image and the mask below it.
  std::vector<uint8_t> dib(d.begin(), d.end());
  int32_t stored = static_cast<int32_t>(Get32(d, 8));
  int32_t height = stored / 2;
  for (int i = 0; i < 4; ++i)
    dib[8 + static_cast<size_t>(i)] =
        static_cast<uint8_t>(static_cast<uint32_t>(height) >> (8 * i));
  TPixmap colour = DecodeDib(dib);
  bool has_alpha = false;
  if (colour.BitsPerPixel == 32) {
    for (size_t i = 3; i < colour.Pixels.size() && !has_alpha; i += 4)
      has_alpha = colour.Pixels[i] != 0;
  }
  TPixmap out(colour.Width, colour.Height, 32);
  size_t mask_stride = static_cast<size_t>((colour.Width + 31) / 32) * 4;
  size_t mask_size = mask_stride * static_cast<size_t>(colour.Height);
  bool has_mask = d.size() >= mask_size + 40;
  for (int y = 0; y < colour.Height; ++y) {
    // The mask is the last part of the data, bottom row first.
    const uint8_t* mask = has_mask ? d.data() + d.size() - mask_size +
                                         mask_stride * static_cast<size_t>(colour.Height - 1 - y)
                                   : nullptr;
    uint8_t* row = out.Row(y);
    for (int x = 0; x < colour.Width; ++x) {
      uint32_t rgb = colour.PixelRGB(x, y);
      uint8_t alpha = has_alpha ? colour.PixelAlpha(x, y) : 255;
      if (!has_alpha && mask && (mask[x / 8] & (0x80 >> (x % 8)))) alpha = 0;
      row[4 * x] = static_cast<uint8_t>(rgb);
      row[4 * x + 1] = static_cast<uint8_t>(rgb >> 8);
      row[4 * x + 2] = static_cast<uint8_t>(rgb >> 16);
      row[4 * x + 3] = alpha;
    }
  }
  picture = std::move(out);
}

TResourceList& TIconResource::Children() {
  if (!sub_list_) sub_list_ = std::make_unique<TIconResourceList>(Image(), *this, IsCursorGroup());
  return *sub_list_;
}

// ------------------------------------------------------ strings and menus

void TStringResource::AssignTo(std::vector<std::string>& lines) const {
  lines.clear();
  std::span<const uint8_t> d = Data();
  int64_t first_id = (int64_t{static_cast<int32_t>(Name())} - 1) * 16;
  size_t at = 0;
  for (int slot = 0; slot < 16 && at + 2 <= d.size(); ++slot) {
    size_t n = Get16(d, at);
    at += 2;
    if (n == 0) continue;
    size_t units = std::min(n, (d.size() - at) / 2);
    std::string text = units ? WideToAnsi(d.subspan(at, units * 2), units) : std::string();
    lines.push_back(std::to_string(first_id + slot) + ",  \"" + text + "\"");
    at += units * 2;
    if (units < n) break;  // the block ends inside this string
  }
}

void TMenuResource::AssignTo(std::vector<std::string>& lines) const {
  lines.clear();
  std::span<const uint8_t> d = Data();
  int level = 0;
  auto indent = [&level] {
    return level > 0 ? std::string(2 * static_cast<size_t>(level), ' ') : std::string();
  };
  size_t at = 4;
  while (at + 2 <= d.size()) {
    uint32_t flags = Get16(d, at);
    at += 2;
    bool popup = (flags & 0x10) != 0;
    uint32_t id = 0;
    if (!popup) {
      if (at + 2 > d.size()) break;
      id = Get16(d, at);
      at += 2;
    }
    size_t end = at;
    while (end + 2 <= d.size() && (d[end] | d[end + 1]) != 0)
      end += 2;
    if (end + 2 > d.size()) break;  // a text without its NUL ends the menu
    std::string text = end > at ? WideToAnsi(d.subspan(at, end - at), (end - at) / 2) : "";
    std::string line;
    if (text.empty()) {
      line = "MENUITEM SEPARATOR";
    } else if (popup) {
      line = "POPUP \"" + text + "\"";
    } else {
      line = "MENUITEM \"" + text + "\",  " + std::to_string(id);
    }
    lines.push_back(indent() + line);
    if (flags & 0x80) {
      level -= 1;
      lines.push_back(indent() + "ENDPOPUP");
    }
    at = end + 2;
    if (popup) level += 1;
  }
}
