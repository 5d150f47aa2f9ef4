#pragma once
// The zip unit: unpacks an archive below a folder, keeping each entry's stored relative
// path, creating folders and replacing files.
//
// An entry whose path is absolute, has a drive letter, holds a ".." part (with "/" or
// "\" as separator) or would pass through a link is not written: nothing lands outside
// the target folder. Each entry is read to its end and its CRC checked; it is written to
// a temporary file beside its target and moved into place only when whole, so a broken
// entry leaves the file it would have replaced as it was. Entry names are GBK unless the
// archive marks them as UTF-8.

#include <string_view>

namespace korvane::platform {

// True when the archive opened and every entry was written; paths are the programs'
// Windows-style texts.
bool UnzipToDirectory(std::string_view archive, std::string_view target_folder);

}  // namespace korvane::platform
