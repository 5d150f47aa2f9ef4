#include "tools/publish/update_list.h"

namespace korvane::tools {

std::string UpdateListText(std::string_view version, const std::vector<ListedFile>& files) {
  std::string list = "[版本]\r\n版本号=" + std::string(version) + "\r\n";
  for (const ListedFile& file : files) {
    list += "[" + file.name + "]\r\n文件名=" + file.name + "\r\n文件路径=" + file.path +
            "\r\n文件日期=" + file.date + "\r\n文件尺寸=" + file.size + "\r\n";
  }
  return list;
}

}  // namespace korvane::tools
