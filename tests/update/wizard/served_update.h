#pragma once
// An update as the operator publishes it: the server list "up.dat" zipped as
// "up.dat.zip", and one archive per file, in one folder.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::update::testing {

struct ServedFile {
  std::string name;
  std::string path;  // 文件路径
  std::string date;  // 文件日期
  std::string size;  // 文件尺寸
  std::string bytes;
};

std::string ServerListText(std::string_view version, const std::vector<ServedFile>& files);

// False when an archive could not be written.
bool PublishUpdate(const std::filesystem::path& folder, std::string_view version,
                   const std::vector<ServedFile>& files);

// Bytes that do not compress, so an archive is about as large as its file.
std::string IncompressibleBytes(std::size_t size, std::uint32_t seed);

// The release the tests update: version 1.0 installed (a.dll in the folder, b.dll below
// codec, keep.dll), version 2.0 published with a new a.dll and b.dll and keep.dll unchanged.
struct ExampleRelease {
  std::string old_a = std::string(40000, 'a');
  std::string new_a = IncompressibleBytes(50000, 7);
  std::string new_b = IncompressibleBytes(1234, 3);

  void InstallVersionOne(const std::filesystem::path& program_folder) const;
  std::string LocalListText() const;
  std::vector<ServedFile> VersionTwo() const;
};

}  // namespace korvane::update::testing
