#pragma once
// The updater program: its start code, the invisible start window whose "created"
// handler chooses the update source and runs the whole wizard as a modal window, and the
// finaliser.

#include "update/wizard/update_globals.h"
#include "update/wizard/update_services.h"
#include "update/wizard/update_wizard.h"

#include <string>

namespace korvane::update {

// The name that one running Update holds for its program folder, taken as the system
// resolves it, so two spellings of one folder meet.
std::string UpdateInstanceName(const Text& program_folder);

class UpdateProgram {
 public:
  explicit UpdateProgram(UpdateServices& services);
  UpdateProgram(const UpdateProgram&) = delete;
  UpdateProgram& operator=(const UpdateProgram&) = delete;

  // The start code: runs the program to its end and gives the exit code.
  int UpdateEntry();

  // The start window's "created" handler.
  void ChooseUpdateSource(const platform::ui::Window& start_window);
  // Loads the wizard modally with `address` as UpdateBase; returns when it has closed.
  void OpenUpdateWizard(const Text& address);

  const UpdateGlobals& Globals() const { return globals_; }
  UpdateWizard& Wizard() { return wizard_; }

 private:
  UpdateServices& services_;
  UpdateGlobals globals_;
  UpdateWizard wizard_;
};

}  // namespace korvane::update
