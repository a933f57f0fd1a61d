// The list of recently opened packages kept in the settings file as
// [FileList] File1 .. File20, most recent first.
#pragma once

#include <string>
#include <vector>

constexpr int kMaxRecentFiles = 20;
extern const char* const kRecentSection;  // "FileList"

// The list after opening `path`: it first, then every earlier entry that is
// not exactly equal to it (letter case significant), at most 20 in all.
std::vector<std::string> AddRecentFile(const std::vector<std::string>& entries,
                                       const std::string& path);
// The key of entry i (from 1): "File1".
std::string RecentFileKey(int index);
// A menu caption: the file name without its folder.
std::string RecentFileCaption(const std::string& path);
