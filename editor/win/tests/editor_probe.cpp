// Stands in for an external bitmap editor in the window tests: writes the
// arguments it was started with, one a line, to args.txt beside itself
// (under another name first, so a reader never sees half of it).
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self);
  path = path.substr(0, path.find_last_of('\\') + 1) + "args.txt";
  std::string text;
  for (int i = 1; i < __argc; ++i)
    text += std::string(__argv[i]) + "\n";
  const std::string temp = path + ".part";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return 1;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  return MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
