// The multiple-document demo of skindemo (--mdi).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Runs a skinned MDI frame with three children; with a shot path it
// photographs the frame once painted (with open_menu: while the Window
// dropdown is open) and returns (0 when saved).
int RunMdiDemo(const std::vector<uint8_t>& package, const std::string& shot_path, bool maximised,
               bool open_menu);
