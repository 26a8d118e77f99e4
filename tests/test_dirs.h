#pragma once
// Where the tests find the built program with its assets, and their own data files.
#include <filesystem>
#include <string>

inline const std::filesystem::path kBuild = KELMORA_BUILD_DIR;
inline const std::string kData = KELMORA_TEST_DATA_DIR;
