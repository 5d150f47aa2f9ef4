#pragma once
// Whole files as byte strings, for tests that lay out folders and read back what a
// program left in them.

#include <filesystem>
#include <string>
#include <string_view>

namespace korvane::testing_support {

// Writes `bytes` as the whole file, making its folders first.
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& file);

}  // namespace korvane::testing_support
