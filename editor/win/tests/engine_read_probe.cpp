// The engine's side of the old-package test, apart from the editor's headers:
// the skin data component given a package file, as an application sets it.
#include <string>

#include "engine_win/skin_data.h"

bool EngineLoadsSkinFile(const std::string& path) {
  auto* engine = Create<TSkinData>(nullptr);
  engine->SetSkinFile(path);
  const bool loaded = engine->LoadSkinBuffer();
  engine->Free();
  return loaded;
}
