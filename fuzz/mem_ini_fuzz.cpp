// Fuzz target: TMemIniFile loading, editing and writing arbitrary text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "format/mem_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemIniFile ini;
  ini.LoadFromBytes(std::span<const uint8_t>(data, size));
  std::vector<std::string> sections, keys;
  ini.ReadSections(sections);
  for (const std::string& s : sections) {
    ini.ReadSection(s, keys);
    for (const std::string& k : keys)
      (void)ini.ReadInteger(s, k, 0);
    ini.WriteString(s, "Fuzz", "");
  }
  std::string text = ini.GetText();
  TMemIniFile again;
  again.SetText(text);
  if (again.GetText() != text) std::abort();  // writing and reading back is stable
  return 0;
}
