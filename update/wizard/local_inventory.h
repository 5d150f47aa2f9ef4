#pragma once
// The local inventory: when the program folder has no "up.dat", the updater scans the
// folder and describes every installed file in a new local list of version 未知.
// The list is collected in memory and written once, atomically, when the scan has
// finished: the scan lets the window handle its messages between folders, and a
// hand-over to Player at that moment must not leave a partial list that a later run
// would take as complete.

#include <functional>
#include <string_view>

#include "common/text.h"
#include "platform/core/profile.h"
#include "platform/services/files.h"

namespace korvane::update {

// What the scan asks of the window between folders.
class ScanPacer {
 public:
  virtual ~ScanPacer() = default;
  virtual void ProcessPendingMessages() = 0;
  virtual void SetWaitCursor() = 0;
  virtual void RestoreCursor() = 0;
};

using FileRoutine = std::function<void(const Text& folder, const Text& name)>;

// Calls `routine` with (folder with trailing backslash, bare name) for every file that
// matches one of the "|"-separated `patterns` ("*.*" when empty), a folder's own files
// before its subfolders, depth first. Folder links are entered like folders, except one
// that leads back to a folder the walk is still in.
void ScanFolder(platform::FileSystem& files, ScanPacer& pacer, Text folder,
                std::string_view patterns, const FileRoutine& routine, bool include_subfolders);

class LocalInventory {
 public:
  LocalInventory(platform::FileSystem& files, Text program_folder);

  // The per-file routine: records the file's section unless it lies below a folder
  // named "update" or is named "up.dat".
  void RecordLocalFile(const Text& folder, const Text& name);

  // Appends section 版本 with 版本号 未知 and writes the whole list at once.
  bool Commit();

 private:
  platform::FileSystem& files_;
  Text program_folder_;
  platform::ProfileBatch list_;
};

// Scans the program folder and writes its local list.
bool BuildLocalInventory(platform::FileSystem& files, ScanPacer& pacer,
                         const Text& program_folder);

}  // namespace korvane::update
