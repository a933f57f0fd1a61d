// Fuzz target: TQuickIni loading, reading and writing arbitrary text.
#include <cstddef>
#include <cstdint>

#include "format/quick_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TQuickIni ini;
  ini.LoadFromStream(std::span<const uint8_t>(data, size));
  std::vector<std::string> sections;
  ini.ReadSections(sections);
  for (const std::string& s : sections) {
    (void)ini.ReadInteger(s, "Version", 0);
    ini.WriteString(s, "Fuzz", "1");
  }
  ini.WriteString("New", "Key", "Value");
  std::vector<uint8_t> out;
  ini.SaveToStream(out);
  return 0;
}
