#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/records/file_registry.h"
#include "app/ui/frame_procedures.h"
#include "framework/clock.h"
#include "framework/desktop/desktop_settings.h"
#include "framework/errors/error_manager.h"

namespace paltrix::app {

class MainFrame;

inline constexpr const char* kApplicationName = "Paltrix";

// What the program runs with; everything here must outlive Application::Run.
struct ApplicationEnvironment {
  std::vector<std::string> arguments;  // the command line without the program name
  desktop::DesktopSettings& desktopSettings;
  const Clock& clock;
  FrameProcedures& procedures;
  errors::ErrorManager& errorManager;
  std::ostream& diagnostics;  // trace lines and start-up warnings (standard error)
  // Told of the record files' managers as they are created and destroyed.
  records::ManagerLifecycleObserver* fileManagerObserver = nullptr;
};

// The program from start to end, in this order:
//   1. initialise the error manager;
//   2. open the framework INI file ".\Paltrix10.INI";
//   3. set up the record files' managers;
//   4. write the network layer's start trace lines when tracing is on;
//   5. set the application icon;
//   6. switch drag-full-windows off when it is on;
//   7. run the main frame until it closes (when it opens, the settings INI
//      file's name is read and the frame takes its stored place);
//   8. the INI file's closing update, then the close trace line;
//   9. switch drag-full-windows on again when step 6 switched it off;
//  10. close the INI file and the error manager.
// Managers are released in reverse order of creation. Files are relative to
// the working directory. Trouble with the INI files or the desktop setting is
// written to `diagnostics` and the program runs on: none of it is needed to
// print labels.
class Application {
 public:
  // Called once the frame is on screen (tests and the start-up benchmark use it).
  using FrameShownHandler = std::function<void(MainFrame&)>;

  explicit Application(ApplicationEnvironment environment) : environment_(std::move(environment)) {}

  // Runs the program and returns its exit status: 0 when the frame was closed.
  // REQUIRES: a QApplication exists; called on its thread.
  int Run(const FrameShownHandler& onShown = {});

 private:
  ApplicationEnvironment environment_;
};

}  // namespace paltrix::app
