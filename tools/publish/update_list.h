#pragma once
// The server copy of the update list "up.dat" as the operator publishes it: the section
// 版本 first, then one section per file, in the order the updater lists them.

#include <string>
#include <string_view>
#include <vector>

namespace korvane::tools {

struct ListedFile {
  std::string name;  // bare file name, also the section name
  std::string path;  // 文件路径: "\" + the path below the program folder
  std::string date;  // 文件日期
  std::string size;  // 文件尺寸
};

// GBK profile text with CR LF lines.
std::string UpdateListText(std::string_view version, const std::vector<ListedFile>& files);

}  // namespace korvane::tools
