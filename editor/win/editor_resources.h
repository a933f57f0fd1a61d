// The texts and the package built into the program: the schema
// ("SKININI"), the help text ("HELP") and the package New starts from
// ("UNTITLE"), and the splash picture ("SPLASH").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::string LoadSchemaText();
// The help resource with its lines ended by CR LF.
std::string LoadHelpText();
std::vector<uint8_t> LoadUntitlePackage();
// The splash picture ("SPLASH"), a JPEG.
std::vector<uint8_t> LoadSplashPicture();
