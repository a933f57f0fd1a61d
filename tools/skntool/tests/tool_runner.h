// Runs skntool through the shell as a user would, capturing its exit code and
// both output streams. Shared by the command-line test suites.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "test_util.h"

namespace tooltest {

struct Result {
  int code;
  std::string out, err;
};

inline std::string NativePath(std::string p) {
#ifdef _WIN32
  // Under Wine the tool's build path is a Unix path; drive Z: maps to /.
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
#endif
  return p;
}

inline std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// Runs `tool args` with its output redirected into fresh files of `dir`
// (`run` numbers them): under Wine the previous run's handles may not be
// closed yet when the next command opens its redirections.
inline Result RunTool(const std::string& tool, const std::string& args,
                      const testutil::ScratchDir& dir, int run) {
  const std::string n = std::to_string(run);
  std::string out = dir.File("stdout" + n + ".txt"), err = dir.File("stderr" + n + ".txt");
  std::string cmd = "\"" + NativePath(tool) + "\" " + args + " >\"" + out + "\" 2>\"" + err + "\"";
#ifdef _WIN32
  cmd = "\"" + cmd + "\"";  // cmd.exe strips one pair of outer quotes
#endif
  int rc = std::system(cmd.c_str());
#ifdef _WIN32
  // -1 means the command processor could not be started at all (Wine under
  // heavy load); the tool itself never exits with it. Start it once more.
  if (rc == -1) rc = std::system(cmd.c_str());
#else
  rc = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
#endif
  return {rc, Slurp(out), Slurp(err)};
}

}  // namespace tooltest
