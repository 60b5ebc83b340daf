#include "app/ui/application.h"

#include <QApplication>
#include <filesystem>
#include <optional>

#include "app/settings/database_setting.h"
#include "app/settings/framework_ini.h"
#include "app/settings/settings_ini_name.h"
#include "app/ui/app_icon.h"
#include "app/ui/main_frame.h"
#include "app/ui/network_trace.h"
#include "app/ui/termination_signals.h"
#include "app/ui/window_placement.h"
#include "framework/desktop/drag_full_windows_suspension.h"

namespace paltrix::app {
namespace {

constexpr int kExitSettingUnreadable = 3;

void Warn(std::ostream& diagnostics, const char* what, const Status& status) {
  diagnostics << "paltrix: " << what << ": " << status.ToString() << '\n';
}

std::optional<settings::FrameworkIni> OpenFrameworkIni(std::ostream& diagnostics) {
  Result<settings::FrameworkIni> ini =
      settings::FrameworkIni::Open(std::filesystem::current_path());
  if (!ini.ok()) {
    Warn(diagnostics, "framework INI file not used", ini.status());
    return std::nullopt;
  }
  return std::move(ini).value();
}

void ReadSettingsIniName(std::ostream& diagnostics) {
  Result<std::string> name = settings::ReadSettingsIniName(std::filesystem::current_path());
  if (!name.ok()) {
    Warn(diagnostics, "settings INI file name not read, using the default", name.status());
    return;
  }
  settings::SetCurrentSettingsIniName(*name);
}

}  // namespace

int Application::Run(const FrameShownHandler& onShown) {
  std::ostream& diagnostics = environment_.diagnostics;
  errors::ErrorManager& errorManager = environment_.errorManager;
  errorManager.Init();

  std::optional<settings::FrameworkIni> frameworkIni = OpenFrameworkIni(diagnostics);

  // A setting that cannot be read must not quietly put this station on a
  // serial range of its own in the Data folder.
  Result<storage::StorageTarget> target =
      settings::ReadStorageTarget(std::filesystem::current_path());
  if (!target.ok()) {
    Warn(diagnostics, "not started: the database setting cannot be read", target.status());
    errorManager.Kill();
    return kExitSettingUnreadable;
  }
  auto files = std::make_unique<records::FileRegistry>(errorManager, std::move(target).value(),
                                                       environment_.fileManagerObserver);

  NetworkTrace trace(NetworkTracingRequested(environment_.arguments), diagnostics,
                     kApplicationName);
  trace.WriteStartLines();

  QApplication::setWindowIcon(PaltrixIcon());

  desktop::DragFullWindowsSuspension dragFullWindows(environment_.desktopSettings);
  if (!dragFullWindows.suspendStatus().ok()) {
    Warn(diagnostics, "drag-full-windows setting left as it is", dragFullWindows.suspendStatus());
  }

  {
    MainFrame frame(environment_.clock, environment_.procedures, *files,
                    [&diagnostics] { ReadSettingsIniName(diagnostics); });
    if (frameworkIni) RestoreWindowPlacement(frame, frameworkIni->file());
    const TerminationSignals closeOnSignal([&frame] { frame.close(); });
    QObject::connect(&frame, &MainFrame::closed, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
    if (onShown) {
      QObject::connect(
          &frame, &MainFrame::opened, &frame, [&frame, &onShown] { onShown(frame); },
          Qt::QueuedConnection);
    }
    frame.show();
    QApplication::exec();
    if (frameworkIni) {
      if (Status stored = StoreWindowPlacement(frame, frameworkIni->file()); !stored.ok()) {
        Warn(diagnostics, "frame position not stored", stored);
      }
    }
  }

  if (frameworkIni) {
    if (Status updated = frameworkIni->Close(); !updated.ok()) {
      Warn(diagnostics, "framework INI file not updated", updated);
    }
  }
  trace.WriteCloseLine();

  if (Status restored = dragFullWindows.Restore(); !restored.ok()) {
    Warn(diagnostics, "drag-full-windows setting not restored", restored);
  }

  files.reset();
  frameworkIni.reset();
  errorManager.Kill();
  return 0;
}

}  // namespace paltrix::app
