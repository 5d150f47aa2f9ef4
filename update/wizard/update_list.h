#pragma once
// The update list "up.dat": an INI file with section 版本 (key 版本号) and one section per
// file, named by its bare file name, with 文件名, 文件路径, 文件日期 and 文件尺寸. The server's
// copy and the local copy share the format.

#include <functional>
#include <string_view>

#include "common/text.h"
#include "platform/services/files.h"

namespace korvane::update {

inline constexpr std::string_view kVersionSection = "版本";
inline constexpr std::string_view kVersionKey = "版本号";
inline constexpr std::string_view kFileNameKey = "文件名";
inline constexpr std::string_view kFilePathKey = "文件路径";
inline constexpr std::string_view kFileDateKey = "文件日期";
inline constexpr std::string_view kFileSizeKey = "文件尺寸";
// The version an inventory-built local copy carries.
inline constexpr std::string_view kUnknownVersion = "未知";

// 版本号 of section 版本; empty text when the file, section or key is missing.
Text ReadListVersion(std::string_view list_file);

// Hands every name of a "文件名=" line to `on_name`, in line order, before reading the
// next line: the name is the line without its first 7 bytes (the length of "文件名="),
// wherever "文件名=" stands in it. A list that cannot be opened gives no names.
void ReadServerFileNames(platform::FileSystem& files, std::string_view list_file,
                         const std::function<void(const Text& name)>& on_name);

}  // namespace korvane::update
