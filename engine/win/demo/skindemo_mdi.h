// The multiple-document demo of skindemo (--mdi).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Runs a skinned MDI frame with three children; with a shot path it
// photographs the frame once painted and returns (0 when saved).
int RunMdiDemo(const std::vector<uint8_t>& package, const std::string& shot_path, bool maximised);
