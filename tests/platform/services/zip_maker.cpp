#include "tests/platform/services/zip_maker.h"

#include <sys/stat.h>

#include <minizip/zip.h>

namespace korvane::testing_support {

bool MakeZip(const std::filesystem::path& archive, const std::vector<ZipEntry>& entries) {
  zipFile zip = zipOpen64(archive.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  bool ok = true;
  for (const ZipEntry& entry : entries) {
    zip_fileinfo info{};
    info.tmz_date = {0, 5, 8, 26, 11, 2012};  // 26 December 2012 08:05:00
    constexpr uLong kMadeOnUnix = (3u << 8) | 20u;
    info.external_fa = static_cast<uLong>((entry.symlink ? (S_IFLNK | 0777) : (S_IFREG | 0644))) << 16;
    ok = ok && zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                       entry.stored ? 0 : Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS,
                                       DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, kMadeOnUnix,
                                       entry.utf8_name ? (1u << 11) : 0u, 0) == ZIP_OK;
    ok = ok && zipWriteInFileInZip(zip, entry.content.data(), static_cast<unsigned>(entry.content.size())) == ZIP_OK;
    ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

}  // namespace korvane::testing_support
