#pragma once

#include <string>
#include <vector>

// Runs `default` and `render`; false when args name neither (rc untouched).
bool RunEngineCommand(const std::vector<std::string>& args, int& rc);
