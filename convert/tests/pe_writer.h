// Builds small PE files with a resource section for the tests: a three-level
// tree (type, name, language) from a list of resources, in the layout a
// resource compiler writes (directories, then names, then data entries, then
// data).
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pe {

// A resource key: a numeric identifier or a name.
struct Key {
  uint32_t Id = 0;
  std::string Name;  // non-empty: a named entry
  bool operator<(const Key& o) const {
    if (Name.empty() != o.Name.empty()) return !Name.empty();  // named entries first
    return Name.empty() ? Id < o.Id : Name < o.Name;
  }
  bool operator==(const Key& o) const { return Id == o.Id && Name == o.Name; }
};
inline Key K(uint32_t id) {
  return {id, ""};
}
inline Key K(const char* name) {
  return {0, name};
}

struct Resource {
  Key Type, Name;
  uint32_t Language = 1033;
  std::vector<uint8_t> Data;
};

inline void Put16(std::vector<uint8_t>& o, size_t at, uint32_t v) {
  if (o.size() < at + 2) o.resize(at + 2);
  o[at] = static_cast<uint8_t>(v);
  o[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(std::vector<uint8_t>& o, size_t at, uint32_t v) {
  Put16(o, at, v & 0xFFFF);
  Put16(o, at + 2, v >> 16);
}
inline uint32_t Get32(const std::vector<uint8_t>& o, size_t at) {
  return static_cast<uint32_t>(o[at] | o[at + 1] << 8 | o[at + 2] << 16 | o[at + 3] << 24);
}

inline std::vector<uint8_t> Utf16(const std::string& s, bool nul = false) {
  std::vector<uint8_t> o;
  for (unsigned char c : s) {
    o.push_back(c);
    o.push_back(0);
  }
  if (nul) o.insert(o.end(), {0, 0});
  return o;
}

// Offsets inside the built section, for tests that damage it.
struct Layout {
  std::vector<uint8_t> Section;
  std::vector<size_t> Directories;  // every directory, root first
  std::vector<size_t> DataEntries;
  size_t NamesStart = 0, DataStart = 0;
};

// The resource section for resources placed at `rva`.
inline Layout BuildSection(const std::vector<Resource>& resources, uint32_t rva) {
  // type -> name -> language -> resource index
  std::map<Key, std::map<Key, std::map<uint32_t, size_t>>> tree;
  for (size_t i = 0; i < resources.size(); ++i)
    tree[resources[i].Type][resources[i].Name][resources[i].Language] = i;
  Layout l;
  std::vector<uint8_t>& s = l.Section;
  auto dir_size = [](size_t n) { return 16 + 8 * n; };
  // Directories: root, the type directories, the name directories.
  size_t at = dir_size(tree.size());
  std::map<Key, size_t> type_dir;
  std::map<std::pair<Key, Key>, size_t> name_dir;
  for (auto& [type, names] : tree) {
    type_dir[type] = at;
    at += dir_size(names.size());
  }
  for (auto& [type, names] : tree) {
    for (auto& [name, langs] : names) {
      name_dir[{type, name}] = at;
      at += dir_size(langs.size());
    }
  }
  // Names.
  l.NamesStart = at;
  std::map<std::string, size_t> name_at;
  auto add_name = [&](const Key& k) {
    if (k.Name.empty() || name_at.count(k.Name)) return;
    name_at[k.Name] = at;
    at += 2 + 2 * k.Name.size();
    at = (at + 3) & ~size_t{3};
  };
  for (auto& [type, names] : tree) {
    add_name(type);
    for (auto& [name, langs] : names)
      add_name(name);
  }
  // Data entries, then data.
  size_t entries_at = at;
  at += 16 * resources.size();
  l.DataStart = at;
  std::vector<size_t> data_at(resources.size());
  for (size_t i = 0; i < resources.size(); ++i) {
    data_at[i] = at;
    at += (resources[i].Data.size() + 7) & ~size_t{7};
  }
  s.assign(at, 0);
  auto write_dir = [&](size_t d, size_t n_named, size_t n_id) {
    l.Directories.push_back(d);
    Put16(s, d + 12, static_cast<uint32_t>(n_named));
    Put16(s, d + 14, static_cast<uint32_t>(n_id));
  };
  auto key_value = [&](const Key& k) {
    return k.Name.empty() ? k.Id : 0x80000000u | static_cast<uint32_t>(name_at[k.Name]);
  };
  auto count_named = [](const auto& m) {
    size_t n = 0;
    for (auto& kv : m)
      n += !kv.first.Name.empty();
    return n;
  };
  write_dir(0, count_named(tree), tree.size() - count_named(tree));
  size_t e = 16;
  for (auto& [type, names] : tree) {
    Put32(s, e, key_value(type));
    Put32(s, e + 4, 0x80000000u | static_cast<uint32_t>(type_dir[type]));
    e += 8;
  }
  size_t next_entry = entries_at;
  for (auto& [type, names] : tree) {
    size_t d = type_dir[type];
    write_dir(d, count_named(names), names.size() - count_named(names));
    size_t ne = d + 16;
    for (auto& [name, langs] : names) {
      Put32(s, ne, key_value(name));
      Put32(s, ne + 4, 0x80000000u | static_cast<uint32_t>(name_dir[{type, name}]));
      ne += 8;
      size_t nd = name_dir[{type, name}];
      write_dir(nd, 0, langs.size());
      size_t le = nd + 16;
      for (auto& [lang, index] : langs) {
        Put32(s, le, lang);
        Put32(s, le + 4, static_cast<uint32_t>(next_entry));
        l.DataEntries.push_back(next_entry);
        Put32(s, next_entry, rva + static_cast<uint32_t>(data_at[index]));
        Put32(s, next_entry + 4, static_cast<uint32_t>(resources[index].Data.size()));
        std::copy(resources[index].Data.begin(), resources[index].Data.end(),
                  s.begin() + static_cast<std::ptrdiff_t>(data_at[index]));
        next_entry += 16;
        le += 8;
      }
    }
  }
  for (auto& [name, off] : name_at) {
    Put16(s, off, static_cast<uint32_t>(name.size()));
    std::vector<uint8_t> u = Utf16(name);
    std::copy(u.begin(), u.end(), s.begin() + static_cast<std::ptrdiff_t>(off + 2));
  }
  return l;
}

struct Options {
  bool Pe32Plus = false;
  std::string SectionName = ".rsrc";
  uint32_t Rva = 0x3000;
  int ExtraSections = 1;  // a ".text" section before the resources
};

// Offsets of the file's headers, for tests that damage them.
struct File {
  std::vector<uint8_t> Bytes;
  size_t NtHeaders = 0, SectionTable = 0, ResourceHeader = 0, RawData = 0;
  Layout Resources;
};

inline File BuildFile(const std::vector<uint8_t>& section, const Options& o = {},
                      Layout layout = {}) {
  File f;
  std::vector<uint8_t>& b = f.Bytes;
  uint32_t optional_size = o.Pe32Plus ? 240 : 224;
  f.NtHeaders = 0x80;
  f.SectionTable = f.NtHeaders + 24 + optional_size;
  int sections = o.ExtraSections + 1;
  size_t headers_end = f.SectionTable + 40 * static_cast<size_t>(sections);
  f.RawData = (headers_end + 0x1FF) & ~size_t{0x1FF};
  b.assign(f.RawData, 0);
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 60, static_cast<uint32_t>(f.NtHeaders));
  Put32(b, f.NtHeaders, 0x00004550);
  Put16(b, f.NtHeaders + 4, o.Pe32Plus ? 0x8664 : 0x14C);
  Put16(b, f.NtHeaders + 6, static_cast<uint32_t>(sections));
  Put16(b, f.NtHeaders + 20, optional_size);
  Put16(b, f.NtHeaders + 24, o.Pe32Plus ? 0x20B : 0x10B);
  for (int i = 0; i < sections; ++i) {
    size_t h = f.SectionTable + 40 * static_cast<size_t>(i);
    bool rsrc = i == sections - 1;
    std::string name = rsrc ? o.SectionName : ".text";
    for (size_t c = 0; c < 8 && c < name.size(); ++c)
      b[h + c] = static_cast<uint8_t>(name[c]);
    Put32(b, h + 8, rsrc ? static_cast<uint32_t>(section.size()) : 0x10);
    Put32(b, h + 12, rsrc ? o.Rva : 0x1000);
    Put32(b, h + 16, rsrc ? static_cast<uint32_t>(section.size()) : 0);
    Put32(b, h + 20, rsrc ? static_cast<uint32_t>(f.RawData) : 0);
    if (rsrc) f.ResourceHeader = h;
  }
  b.insert(b.end(), section.begin(), section.end());
  f.Resources = std::move(layout);
  return f;
}

inline File Build(const std::vector<Resource>& resources, const Options& o = {}) {
  Layout l = BuildSection(resources, o.Rva);
  std::vector<uint8_t> section = l.Section;
  return BuildFile(section, o, std::move(l));
}

// ---- resource data makers

// A bottom-up DIB with a 40-byte header; `pixel` gives 0x00RRGGBB (and
// alpha in the high byte for 32 bits).
template <typename F>
std::vector<uint8_t> Dib(int w, int h, int bits, F pixel) {
  std::vector<uint8_t> d(40, 0);
  Put32(d, 0, 40);
  Put32(d, 4, static_cast<uint32_t>(w));
  Put32(d, 8, static_cast<uint32_t>(h));
  Put16(d, 12, 1);
  Put16(d, 14, static_cast<uint32_t>(bits));
  size_t stride = ((static_cast<size_t>(w) * static_cast<size_t>(bits) + 31) / 32) * 4;
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < w; ++x) {
      uint32_t c = pixel(x, y);
      size_t at = static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
      row[at] = static_cast<uint8_t>(c);
      row[at + 1] = static_cast<uint8_t>(c >> 8);
      row[at + 2] = static_cast<uint8_t>(c >> 16);
      if (bits == 32) row[at + 3] = static_cast<uint8_t>(c >> 24);
    }
    d.insert(d.end(), row.begin(), row.end());
  }
  return d;
}

inline std::vector<uint8_t> SolidDib(int w, int h, uint32_t rgb) {
  return Dib(w, h, 24, [rgb](int, int) { return rgb; });
}

// A string-table block: 16 slots of (length, UTF-16 text).
inline std::vector<uint8_t> StringBlock(const std::map<int, std::string>& slots) {
  std::vector<uint8_t> d;
  for (int i = 0; i < 16; ++i) {
    auto it = slots.find(i);
    std::string s = it == slots.end() ? "" : it->second;
    d.push_back(static_cast<uint8_t>(s.size()));
    d.push_back(0);
    std::vector<uint8_t> u = Utf16(s);
    d.insert(d.end(), u.begin(), u.end());
  }
  return d;
}

// Text as a style's INI resource: UTF-16, no terminator.
inline std::vector<uint8_t> TextResource(const std::string& text) {
  return Utf16(text);
}

}  // namespace pe
