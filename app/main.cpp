#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/ui/application.h"
#include "app/ui/catalogue_print_windows.h"
#include "app/ui/main_frame.h"
#include "app/ui/window_procedures.h"
#include "framework/desktop/file_desktop_settings.h"
#include "framework/errors/error_manager.h"
#include "framework/ui/qt_message_presenter.h"

namespace {

// Set to 1, the program closes its frame as soon as it is on screen, as if F8
// had been pressed: for start-up tests and the start-up benchmark.
constexpr const char* kQuitAfterShownVariable = "PALTRIX_QUIT_AFTER_SHOWN";

bool QuitAfterShown() {
  const char* value = std::getenv(kQuitAfterShownVariable);
  return value != nullptr && std::string_view(value) == "1";
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName(paltrix::app::kApplicationName);
  QApplication::setApplicationVersion(PALTRIX_VERSION);
  // The frame alone decides when the program ends, not the last window closed.
  QApplication::setQuitOnLastWindowClosed(false);

  paltrix::ui::QtMessagePresenter messageBoxes;
  paltrix::errors::GlobalErrorManager().SetPresenter(messageBoxes);

  const std::unique_ptr<paltrix::desktop::DesktopSettings> desktopSettings =
      paltrix::desktop::OpenDesktopSettings();
  paltrix::app::CataloguePrintWindows printWindows;
  paltrix::app::WindowProcedures procedures(printWindows);

  paltrix::app::Application application({
      .arguments = std::vector<std::string>(argv + 1, argv + argc),
      .desktopSettings = *desktopSettings,
      .clock = paltrix::SystemClock(),
      .procedures = procedures,
      .errorManager = paltrix::errors::GlobalErrorManager(),
      .diagnostics = std::cerr,
  });

  paltrix::app::Application::FrameShownHandler onShown;
  if (QuitAfterShown()) {
    onShown = [](paltrix::app::MainFrame& frame) { frame.closeAction().trigger(); };
  }
  return application.Run(onShown);
}
