#include "editor_resources.h"

#include <windows.h>

#include "editor/help_text.h"
#include "framework/dialogs.h"
#include "framework/props.h"

namespace {

std::vector<uint8_t> ResourceBytes(const char* name) {
  std::vector<uint8_t> bytes;
  LoadResourceBytes(GetModuleHandleA(nullptr), name, bytes);
  return bytes;
}

std::string ResourceText(const char* name) {
  std::vector<uint8_t> bytes = ResourceBytes(name);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::string LoadSchemaText() {
  return ResourceText("SKININI");
}
std::string LoadHelpText() {
  return NormaliseHelpText(ResourceText("HELP"));
}
std::vector<uint8_t> LoadUntitlePackage() {
  return ResourceBytes("UNTITLE");
}
std::vector<uint8_t> LoadSplashPicture() {
  return ResourceBytes("SPLASH");
}
