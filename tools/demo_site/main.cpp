// korvane-demo-site DESCRIPTION SITE_FOLDER PROGRAM_FOLDER
//
// Builds the demo operator's site from its plain description (deploy/demo/site.txt):
// the remote control files below SITE_FOLDER, key-2 files enciphered as the programs
// expect them, the web pages in GBK, and the published release's update in the list folder. Installs the
// description's installed release into PROGRAM_FOLDER with its "up.dat". Both folders
// must be new or empty. Prints the installation id the program folder's Config.ini needs.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "tools/demo_site/demo_release.h"
#include "tools/demo_site/site_description.h"
#include "tools/encipher/encipher.h"

namespace {

namespace fs = std::filesystem;
using namespace korvane;

bool IsNewOrEmpty(const fs::path& folder) {
  std::error_code error;
  return !fs::exists(folder, error) || (fs::is_directory(folder, error) && fs::is_empty(folder, error));
}

bool WriteRemoteFile(const fs::path& site, const tools::RemoteFile& remote) {
  const fs::path file = site / GbkToUtf8(remote.path);
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << (remote.enciphered ? tools::EncipherToHex(2, remote.value) : remote.value);
  return static_cast<bool>(out.flush());
}

// The page's UTF-8 source as GBK bytes at its path below the site.
bool WritePage(const fs::path& site, const tools::SitePage& page, std::string* error) {
  std::ifstream in(page.source, std::ios::binary);
  const std::string utf8{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::optional<Text> gbk = Utf8ToGbkExact(AsUtf8(utf8));
  if (!in || !gbk) {
    *error = page.source.string() + ": not UTF-8 text that GBK can hold";
    return false;
  }
  return WriteRemoteFile(site, {page.path, false, *gbk});
}

int Fail(const std::string& message) {
  std::cerr << "korvane-demo-site: " << message << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: korvane-demo-site DESCRIPTION SITE_FOLDER PROGRAM_FOLDER\n";
    return 2;
  }
  const fs::path description_file = argv[1];
  const fs::path site = argv[2];
  const fs::path program = argv[3];
  if (!IsNewOrEmpty(site) || !IsNewOrEmpty(program)) {
    return Fail("SITE_FOLDER and PROGRAM_FOLDER must be new or empty folders");
  }
  std::ifstream in(description_file, std::ios::binary);
  if (!in) return Fail(description_file.string() + ": cannot read");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string error;
  const auto description =
      tools::ParseSiteDescription(AsUtf8(text), description_file.parent_path(), &error);
  if (!description) return Fail(description_file.string() + ": " + error);
  const auto installed = tools::ReadRelease(description->installed.folder, &error);
  if (!installed) return Fail(error);
  const auto published = tools::ReadRelease(description->published.folder, &error);
  if (!published) return Fail(error);

  bool written = true;
  for (const tools::RemoteFile& remote : description->remote_files) {
    written = WriteRemoteFile(site, remote) && written;
  }
  for (const tools::SitePage& page : description->pages) {
    if (!WritePage(site, page, &error)) return Fail(error);
  }
  written = tools::PublishRelease(site / GbkToUtf8(description->list_folder), description->published,
                                  *published, description->installed, *installed) &&
            written;
  written = tools::InstallRelease(program, description->installed, *installed) && written;
  if (!written) return Fail("a file could not be written");
  std::cout << description->installation_id << '\n';
  return 0;
}
