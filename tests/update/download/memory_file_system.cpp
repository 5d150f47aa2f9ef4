#include "tests/update/download/memory_file_system.h"

#include <gtest/gtest.h>

namespace korvane::testing_support {
namespace {

class MemoryOpenedFile final : public platform::OpenedFile {
 public:
  MemoryOpenedFile(MemoryFile& file, const bool& writes_fail)
      : file_(file), writes_fail_(writes_fail) {
    file_.open = true;
  }
  ~MemoryOpenedFile() override { file_.open = false; }

  std::int64_t GetOpenFileLength() override { return file_.Length(); }
  bool SeekToFileEnd() override {
    position_ = file_.Length();
    return true;
  }
  bool WriteBytes(std::string_view bytes) override {
    if (writes_fail_) return false;
    const std::int64_t at = position_ - file_.sparse_length;
    if (at < 0) {
      ADD_FAILURE() << "write into the sparse start of a memory file";
      return false;
    }
    file_.bytes.replace(static_cast<std::size_t>(at), bytes.size(), bytes);
    position_ += static_cast<std::int64_t>(bytes.size());
    return true;
  }
  std::string ReadBytes(std::int64_t at, std::size_t length) override {
    const std::int64_t from = at - file_.sparse_length;
    if (from < 0 || from > static_cast<std::int64_t>(file_.bytes.size())) return {};
    return file_.bytes.substr(static_cast<std::size_t>(from), length);
  }
  bool Truncate() override {
    if (writes_fail_) return false;
    file_.sparse_length = 0;
    file_.bytes.clear();
    position_ = 0;
    return true;
  }
  Text ReadLine() override {
    ADD_FAILURE() << "ReadLine on a file opened for writing";
    return {};
  }
  bool IsEndOfFile() override { return position_ >= file_.Length(); }

 private:
  MemoryFile& file_;
  const bool& writes_fail_;
  std::int64_t position_ = 0;
};

void Unexpected(const char* operation) {
  ADD_FAILURE() << operation << " is not expected here";
}

}  // namespace

std::unique_ptr<platform::OpenedFile> MemoryFileSystem::OpenFile(std::string_view path,
                                                                 platform::OpenMode mode) {
  EXPECT_EQ(mode, platform::OpenMode::kWrite);
  if (path.empty() || unopenable.count(Text(path)) != 0) return nullptr;
  MemoryFile& file = files[Text(path)];
  if (file.open) return nullptr;
  ++opens;
  return std::make_unique<MemoryOpenedFile>(file, writes_fail);
}

Text MemoryFileSystem::GetRunDirectory() {
  Unexpected("GetRunDirectory");
  return {};
}
bool MemoryFileSystem::MakeDirectory(std::string_view) {
  Unexpected("MakeDirectory");
  return false;
}
bool MemoryFileSystem::DeleteDirectoryTree(std::string_view) {
  Unexpected("DeleteDirectoryTree");
  return false;
}
bool MemoryFileSystem::RemoveFile(std::string_view) {
  Unexpected("RemoveFile");
  return false;
}
bool MemoryFileSystem::CopyFileOverwrite(std::string_view, std::string_view) {
  Unexpected("CopyFileOverwrite");
  return false;
}
std::unique_ptr<platform::FileSearch> MemoryFileSystem::FindFiles(std::string_view,
                                                                  platform::FindMode) {
  Unexpected("FindFiles");
  return nullptr;
}
platform::FileDate MemoryFileSystem::GetFileModifiedTime(std::string_view) {
  Unexpected("GetFileModifiedTime");
  return {};
}

}  // namespace korvane::testing_support
