#include "lzh_corpora.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <random>

#include "convert/style_convert.h"
#include "default_skin.h"
#include "format/file_io.h"
#include "format/skin_package.h"
#include "format/text.h"

namespace {

constexpr const char* kLightStyle = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/light.msstyles";

bool EndsWithBmp(const std::string& name) {
  return name.size() >= 4 && LowerAscii(name.substr(name.size() - 4)) == ".bmp";
}

bool ReadPackage(std::span<const uint8_t> bytes, TSkinReader& reader, std::string& why) {
  if (reader.LoadFromStream(bytes)) return true;
  why = reader.LastError();
  return false;
}

void Append(std::vector<uint8_t>& to, std::span<const uint8_t> bytes) {
  to.insert(to.end(), bytes.begin(), bytes.end());
}

}  // namespace

bool LoadSkinBitmaps(const std::string& package, std::vector<uint8_t>& out, std::string& why) {
  std::vector<uint8_t> bytes;
  try {
    if (!package.empty()) {
      if (!ReadFileBytes(package, bytes, &why)) return false;
    } else {
      if (!std::filesystem::exists(kLightStyle)) {
        why = std::string(kLightStyle) + " is not installed";
        return false;
      }
      TStyleFile style(kLightStyle);
      if (style.Variants().empty()) {
        why = std::string(kLightStyle) + " offers no variant";
        return false;
      }
      std::string skin_name;
      bytes = style.ConvertToBytes(style.Variants().front(), skin_name);
    }
  } catch (const std::exception& e) {
    why = e.what();
    return false;
  }
  TSkinReader reader;
  if (!ReadPackage(bytes, reader, why)) return false;
  out.clear();
  for (int i = 0; i < reader.Count(); ++i) {
    if (EndsWithBmp(reader.Names()[static_cast<size_t>(i)])) Append(out, reader.Member(i));
  }
  if (out.empty()) why = "the package holds no bitmaps";
  return !out.empty();
}

std::vector<uint8_t> DefaultSkinMembers() {
  TSkinReader reader;
  std::string why;
  std::vector<uint8_t> out;
  if (!ReadPackage(DefaultSkinPackage(), reader, why)) return out;
  for (int i = 0; i < reader.Count(); ++i)
    Append(out, reader.Member(i));
  return out;
}

std::vector<uint8_t> PhotoNoise(size_t bytes) {
  const int width = 640;
  std::mt19937 rng(11);
  std::normal_distribution<double> noise(0.0, 6.0);
  std::vector<uint8_t> out;
  out.reserve(bytes + width * 3);
  for (int y = 0; out.size() < bytes; ++y) {
    for (int x = 0; x < width; ++x) {
      // A sky-to-ground picture: soft waves of light over three channels.
      double light = 0.5 + 0.25 * std::sin(x * 0.013 + y * 0.007) + 0.2 * std::cos(y * 0.021);
      const double channel[3] = {light * 210 + 20, light * 180 + 30 + 0.05 * x, 160 - light * 90};
      for (double c : channel)
        out.push_back(static_cast<uint8_t>(std::clamp(c + noise(rng), 0.0, 255.0)));
    }
  }
  out.resize(bytes);
  return out;
}

std::vector<uint8_t> FlatBitmaps(size_t bytes) {
  // Button faces of a few sizes and colours, one after another, each drawn
  // row by row as a 24-bit bitmap holds them.
  const uint8_t faces[][3] = {{0xC8, 0xD0, 0xD4}, {0xF0, 0xF0, 0xF0}, {0x80, 0x80, 0x80},
                              {0xE1, 0xA0, 0x40}, {0x33, 0x99, 0xFF}, {0xFF, 0xFF, 0xFF}};
  const uint8_t rim[3] = {0x40, 0x40, 0x40}, magenta[3] = {0xFF, 0x00, 0xFF};
  std::vector<uint8_t> out;
  out.reserve(bytes);
  for (int piece = 0; out.size() < bytes; ++piece) {
    const int w = 16 + (piece * 37) % 120, h = 12 + (piece * 13) % 40, frames = 1 + piece % 5;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w * frames; ++x) {
        const int fx = x % w, f = x / w;
        const uint8_t* px = faces[(piece + f) % 6];
        if ((fx == 0 || y == 0) && (fx < 2 && y < 2)) {
          px = magenta;  // a cut corner
        } else if (fx == 0 || y == 0 || fx == w - 1 || y == h - 1) {
          px = rim;
        }
        out.insert(out.end(), px, px + 3);
      }
      while (out.size() % 4)
        out.push_back(0);  // rows padded to whole words
    }
  }
  out.resize(bytes);
  return out;
}

std::vector<uint8_t> IniText(size_t bytes) {
  static const char* const kSections[] = {"Title",  "Border",   "Button", "CheckBox", "Radio",
                                          "Scroll", "ComboBox", "Tab",    "Menu",     "Status"};
  std::mt19937 rng(5);
  std::string text = "[Skins]\r\nVersion=150\r\nAuthor=bench\r\n\r\n";
  for (int n = 1; text.size() < bytes; ++n) {
    const std::string section = std::string(kSections[rng() % 10]) + std::to_string(n);
    const std::string lower = LowerAscii(section);
    text += "[" + section + "]\r\nBitmap=" + lower +
            ".bmp\r\nFrameCount=" + std::to_string(1 + rng() % 6) +
            "\r\nLeftWidth=" + std::to_string(rng() % 12) +
            "\r\nTopHeight=" + std::to_string(rng() % 12) +
            "\r\nRightWidth=" + std::to_string(rng() % 12) +
            "\r\nBottomHeight=" + std::to_string(rng() % 12) +
            "\r\nFontColor=" + std::to_string(rng() % 256) + " " + std::to_string(rng() % 256) +
            " " + std::to_string(rng() % 256) + "\r\nTrans=" + std::to_string(rng() % 2) +
            "\r\n\r\n";
  }
  text.resize(bytes);
  return {text.begin(), text.end()};
}

std::vector<uint8_t> RandomBytes(size_t bytes) {
  std::mt19937 rng(3);
  std::vector<uint8_t> out(bytes);
  for (auto& b : out)
    b = static_cast<uint8_t>(rng());
  return out;
}

std::vector<TLzhCorpus> MakeLzhCorpora(const std::string& package, std::string& skipped) {
  constexpr size_t kSize = 1u << 20;
  std::vector<TLzhCorpus> corpora;
  TLzhCorpus skin{"skin", {}};
  std::string why;
  if (LoadSkinBitmaps(package, skin.Bytes, why)) {
    corpora.push_back(std::move(skin));
  } else {
    skipped = "converted skin bitmaps skipped: " + why;
  }
  corpora.push_back({"default", DefaultSkinMembers()});
  corpora.push_back({"photo", PhotoNoise(kSize)});
  corpora.push_back({"flat", FlatBitmaps(kSize)});
  corpora.push_back({"ini", IniText(kSize / 2)});
  corpora.push_back({"random", RandomBytes(kSize)});
  return corpora;
}
