// Fuzz target: the skin checker over whole package files. Every input gets a
// report: a reason when it is unreadable, findings of one line each when not.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/skin_checker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TSkinCheckReport r = CheckSkinPackage(std::span<const uint8_t>(data, size));
  if (!r.Readable && (r.Why.empty() || !r.Findings.empty())) std::abort();
  for (const TSkinFinding& f : r.Findings) {
    const std::string line = FormatFinding(f);
    if (std::count(line.begin(), line.end(), '\t') != 3) std::abort();
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  return 0;
}
