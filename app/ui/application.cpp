#include "app/ui/application.h"

#include <QApplication>

#include "app/ui/app_icon.h"
#include "app/ui/main_frame.h"
#include "app/ui/network_trace.h"
#include "app/ui/termination_signals.h"
#include "framework/desktop/drag_full_windows_suspension.h"

namespace paltrix::app {

int Application::Run(const FrameShownHandler& onShown) {
  std::ostream& diagnostics = environment_.diagnostics;
  errors::ErrorManager& errorManager = environment_.errorManager;
  errorManager.Init();

  NetworkTrace trace(NetworkTracingRequested(environment_.arguments), diagnostics,
                     kApplicationName);
  trace.WriteStartLines();

  QApplication::setWindowIcon(PaltrixIcon());

  desktop::DragFullWindowsSuspension dragFullWindows(environment_.desktopSettings);
  if (!dragFullWindows.suspendStatus().ok()) {
    diagnostics << "paltrix: drag-full-windows setting left as it is: "
                << dragFullWindows.suspendStatus().ToString() << '\n';
  }

  {
    MainFrame frame(environment_.clock, environment_.procedures);
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
  }

  trace.WriteCloseLine();

  if (Status restored = dragFullWindows.Restore(); !restored.ok()) {
    diagnostics << "paltrix: drag-full-windows setting not restored: " << restored.ToString()
                << '\n';
  }

  errorManager.Kill();
  return 0;
}

}  // namespace paltrix::app
