#pragma once
// An open file on Linux with the sharing rule of the programs: a file opened for writing
// has no other opener meanwhile (an exclusive lock), and a file opened to be read waits
// for no writer but is refused while one holds it (a shared lock). Locks are taken
// without waiting; a refused open gives no file.

#include <filesystem>
#include <memory>

#include "platform/services/files.h"

namespace korvane::platform {

std::unique_ptr<OpenedFile> OpenLinuxFile(const std::filesystem::path& path, OpenMode mode);

}  // namespace korvane::platform
