#include "tools/demo_site/demo_release.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "tools/publish/update_list.h"
#include "tools/publish/zip_writer.h"

namespace korvane::tools {
namespace {

namespace fs = std::filesystem;

bool WriteBytes(const fs::path& file, const std::string& bytes) {
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out.flush());
}

ListedFile Listed(const ReleaseFile& file, const Text& date) {
  return {file.name, file.path, date, std::to_string(file.bytes.size())};  // sizes in bytes
}

}  // namespace

std::optional<std::vector<ReleaseFile>> ReadRelease(const fs::path& folder, std::string* error) {
  std::error_code failed;
  std::vector<fs::path> found;
  for (fs::recursive_directory_iterator entry(folder, failed), end; !failed && entry != end;
       entry.increment(failed)) {
    if (entry->is_regular_file()) found.push_back(entry->path());
  }
  if (failed || found.empty()) {
    *error = folder.string() + ": no release files to read";
    return std::nullopt;
  }
  std::sort(found.begin(), found.end());
  std::vector<ReleaseFile> files;
  std::set<Text> names;
  for (const fs::path& file : found) {
    ReleaseFile release_file;
    release_file.relative = file.lexically_relative(folder);
    for (const fs::path& part : release_file.relative) {
      const std::optional<Text> gbk = Utf8ToGbkExact(part.u8string());
      if (!gbk) {
        *error = file.string() + ": the name has no GBK form";
        return std::nullopt;
      }
      release_file.path += "\\" + *gbk;
      release_file.name = *gbk;
    }
    if (!names.insert(release_file.name).second) {
      *error = file.string() + ": another file of the release has the same name";
      return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    release_file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    files.push_back(std::move(release_file));
  }
  return files;
}

bool InstallRelease(const fs::path& program_folder, const ReleaseDescription& release,
                    const std::vector<ReleaseFile>& files) {
  bool written = true;
  std::vector<ListedFile> listed;
  for (const ReleaseFile& file : files) {
    written = WriteBytes(program_folder / file.relative, file.bytes) &&
              written;
    listed.push_back(Listed(file, release.date));
  }
  // The local list of an updated folder is the server list it was updated from.
  return WriteBytes(program_folder / "up.dat", UpdateListText(release.version, listed)) && written;
}

bool PublishRelease(const fs::path& list_folder, const ReleaseDescription& release,
                    const std::vector<ReleaseFile>& files, const ReleaseDescription& installed,
                    const std::vector<ReleaseFile>& installed_files) {
  std::error_code error;
  fs::create_directories(list_folder, error);
  bool written = !error;
  std::vector<ListedFile> listed;
  for (const ReleaseFile& file : files) {
    const bool unchanged =
        std::any_of(installed_files.begin(), installed_files.end(), [&](const ReleaseFile& old) {
          return old.path == file.path && old.bytes == file.bytes;
        });
    listed.push_back(Listed(file, unchanged ? installed.date : release.date));
    if (!unchanged) {
      written = WriteZip(list_folder / GbkToUtf8(file.name + ".zip"), {{file.name, file.bytes}}) &&
                written;
    }
  }
  return WriteZip(list_folder / "up.dat.zip", {{"up.dat", UpdateListText(release.version, listed)}}) &&
         written;
}

}  // namespace korvane::tools
