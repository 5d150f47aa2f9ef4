#include "tests/update/wizard/served_update.h"

#include <fstream>

#include "tools/publish/update_list.h"
#include "tools/publish/zip_writer.h"

namespace korvane::update::testing {

std::string ServerListText(std::string_view version, const std::vector<ServedFile>& files) {
  std::vector<tools::ListedFile> listed;
  for (const ServedFile& file : files) listed.push_back({file.name, file.path, file.date, file.size});
  return tools::UpdateListText(version, listed);
}

bool PublishUpdate(const std::filesystem::path& folder, std::string_view version,
                   const std::vector<ServedFile>& files) {
  std::filesystem::create_directories(folder);
  bool written = tools::WriteZip(folder / "up.dat.zip", {{"up.dat", ServerListText(version, files)}});
  for (const ServedFile& file : files) {
    written = tools::WriteZip(folder / (file.name + ".zip"), {{file.name, file.bytes}}) && written;
  }
  return written;
}

std::string IncompressibleBytes(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

void ExampleRelease::InstallVersionOne(const std::filesystem::path& program_folder) const {
  std::filesystem::create_directories(program_folder / "codec");
  std::ofstream(program_folder / "a.dll", std::ios::binary) << old_a;
  std::ofstream(program_folder / "codec" / "b.dll", std::ios::binary) << "old b";
  std::ofstream(program_folder / "keep.dll", std::ios::binary) << "keep";
  std::ofstream(program_folder / "up.dat", std::ios::binary) << LocalListText();
}

std::string ExampleRelease::LocalListText() const {
  return "[a.dll]\r\n文件名=a.dll\r\n文件路径=\\a.dll\r\n文件日期=2012年12月26日8时\r\n"
         "[b.dll]\r\n文件名=b.dll\r\n文件路径=\\codec\\b.dll\r\n文件日期=2012年12月26日8时\r\n"
         "[keep.dll]\r\n文件名=keep.dll\r\n文件路径=\\keep.dll\r\n文件日期=2012年12月26日8时\r\n"
         "[版本]\r\n版本号=1.0\r\n";
}

std::vector<ServedFile> ExampleRelease::VersionTwo() const {
  return {{"a.dll", "\\a.dll", "2013年1月5日9时", "48.8", new_a},
          {"keep.dll", "\\keep.dll", "2012年12月26日8时", "1", "never fetched"},
          {"b.dll", "\\codec\\b.dll", "2013年1月5日9时", "1.5", new_b}};
}

}  // namespace korvane::update::testing
