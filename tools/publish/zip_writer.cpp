#include "tools/publish/zip_writer.h"

#include <zip.h>

namespace korvane::tools {

bool WriteZip(const std::filesystem::path& archive, const ZipEntries& entries) {
  zipFile zip = zipOpen64(archive.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  bool ok = true;
  for (const auto& [name, bytes] : entries) {
    zip_fileinfo info{};
    info.tmz_date = {0, 5, 8, 26, 11, 2012};
    ok = ok &&
         zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                             Z_DEFLATED, Z_DEFAULT_COMPRESSION) == ZIP_OK &&
         zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) == ZIP_OK &&
         zipCloseFileInZip(zip) == ZIP_OK;
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

}  // namespace korvane::tools
