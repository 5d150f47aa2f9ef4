#pragma once
// The whole updater in one process: the real program logic on a headless window backend
// on virtual time, real files in a program folder of the test's own, and a real local
// HTTP server in the operator's place, whose addresses the program holds as its built-in
// ones. A script of user actions drives the wizard; `Check` actions look at it between
// clicks.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/clock.h"
#include "platform/core/path_map.h"
#include "platform/services/curl_http_client.h"
#include "platform/services/curl_http_request.h"
#include "platform/services/linux_file_system.h"
#include "platform/testing/fake_name_resolver.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/program.h"
#include "platform/testing/fake_named_events.h"
#include "platform/ui/script.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_http_server.h"
#include "update/wizard/update_program.h"
#include "tests/update/wizard/served_update.h"
#include "update/wizard/update_resources.h"

namespace korvane::update::testing {

// The Linux file system, with hooks that run before every folder search and file opening.
class WatchedFileSystem : public platform::FileSystem {
 public:
  explicit WatchedFileSystem(platform::FileSystem& files) : files_(files) {}
  std::function<void(std::string_view pattern)> before_search;
  std::function<void(std::string_view path)> before_open;

  Text GetRunDirectory() override { return files_.GetRunDirectory(); }
  bool MakeDirectory(std::string_view path) override { return files_.MakeDirectory(path); }
  bool DeleteDirectoryTree(std::string_view path) override { return files_.DeleteDirectoryTree(path); }
  bool RemoveFile(std::string_view path) override { return files_.RemoveFile(path); }
  bool CopyFileOverwrite(std::string_view from, std::string_view to) override {
    return files_.CopyFileOverwrite(from, to);
  }
  std::unique_ptr<platform::FileSearch> FindFiles(std::string_view pattern,
                                                  platform::FindMode mode) override {
    if (before_search) before_search(pattern);
    return files_.FindFiles(pattern, mode);
  }
  platform::FileDate GetFileModifiedTime(std::string_view path) override {
    return files_.GetFileModifiedTime(path);
  }
  std::unique_ptr<platform::OpenedFile> OpenFile(std::string_view path,
                                                 platform::OpenMode mode) override {
    if (before_open) before_open(path);
    return files_.OpenFile(path, mode);
  }

 private:
  platform::FileSystem& files_;
};

class UpdateProgramTest : public ::testing::Test {
 protected:
  UpdateProgramTest();

  // The program folder and the folder that the server serves.
  std::filesystem::path Installed(std::string_view relative) const;
  std::filesystem::path Served(std::string_view relative) const;
  void WriteFile(const std::filesystem::path& file, std::string_view bytes) const;
  std::string ReadFile(const std::filesystem::path& file) const;

  // The update switch (key 2 enciphered, as the operator publishes it).
  void ServeSwitch(std::string_view value) const;
  // Publishes the server list (zipped) and one archive per file below the list folder.
  void ServeUpdate(std::string_view version, const std::vector<ServedFile>& files) const;

  int Run();
  platform::ui::Window Wizard();
  template <typename T>
  T Control(std::string_view name) {
    return Wizard().Find<T>(name);
  }
  void Check(std::function<void()> check) { script_.Call(std::move(check)); }
  void Click(std::string_view control) { script_.Add("click", {Text(control)}); }
  // Whether the network probe's host name resolves.
  void SetNetworkReachable(bool reachable);

  testing_support::TempFolder temp_;
  Text folder_;
  testing_support::TestHttpServer server_;
  std::unique_ptr<platform::FileSystem> files_;
  WatchedFileSystem watched_files_{*files_};
  std::unique_ptr<platform::HttpClient> http_;
  std::unique_ptr<platform::HttpRequestFactory> requests_;
  platform::testing::FakeNameResolver resolver_;
  platform::testing::FakeNamedEvents instances_;
  platform::ui::VirtualTimebase time_;
  platform::ui::HeadlessBackend backend_;
  platform::ui::ResourceBundle resources_{embedded::UpdateResources()};
  platform::ui::Program ui_{backend_, resources_};
  platform::ui::Script script_;
  std::string control_base_;
  std::string list_folder_;
  std::vector<std::string> shell_runs_;
  std::unique_ptr<UpdateServices> services_;
  std::unique_ptr<UpdateProgram> program_;
};

}  // namespace korvane::update::testing
