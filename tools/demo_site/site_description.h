#pragma once
// The plain description of the demo operator's site (deploy/demo/site.txt): UTF-8 lines,
// read as GBK texts, one entry a line, "#" starting a comment line:
//
//   installation ID                        the installation id of the demo program folder
//   key2 PATH TEXT                         a remote control file: TEXT enciphered with key 2
//   plain PATH TEXT                        a plain remote file: TEXT as GBK bytes
//   page PATH FILE                         a web page: FILE (UTF-8) as GBK bytes
//   installed VERSION DATE FOLDER          the release the demo program folder holds
//   published LIST_FOLDER VERSION DATE FOLDER
//                                          the release published in the site's LIST_FOLDER
//
// PATH and LIST_FOLDER are paths below the site ("/" between folders); FOLDER and FILE lie
// below the description's own folder; DATE is the 文件日期 of the release's files.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"

namespace korvane::tools {

struct RemoteFile {
  Text path;
  bool enciphered = false;  // key 2
  Text value;
};

struct SitePage {
  Text path;
  std::filesystem::path source;  // UTF-8 text
};

struct ReleaseDescription {
  Text version;
  Text date;
  std::filesystem::path folder;
};

struct SiteDescription {
  Text installation_id;
  std::vector<RemoteFile> remote_files;
  std::vector<SitePage> pages;
  ReleaseDescription installed;
  Text list_folder;
  ReleaseDescription published;
};

// nullopt with `error` ("line N: ...") when a line cannot be read or an entry is missing.
std::optional<SiteDescription> ParseSiteDescription(std::u8string_view utf8,
                                                    const std::filesystem::path& base,
                                                    std::string* error);

}  // namespace korvane::tools
