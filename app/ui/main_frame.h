#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <vector>

#include "app/records/file_registry.h"
#include "app/records/record_context.h"
#include "app/ui/frame_procedures.h"
#include "framework/clock.h"

class QAction;
class QLabel;

namespace paltrix::app {

inline constexpr const char* kFrameObjectName = "P1$APPFRAME";
inline constexpr const char* kFrameTitle = "Paltrix 1.7.7";

// The application frame: a launcher with a toolbar ("Luk program (F8)",
// "Produkter (F2)", "Indstillinger (F10)") and a status bar whose zone 3 shows
// today's date (dd/mm/yyyy) and zone 4 the time (hh:mm), set when the frame
// opens and refreshed on every timer event.
//
// The frame has the record context of the program's main line: the product
// catalogue runs with it; the settings window gets its own.
//
// Closing the frame ends the program: it closes the independent windows it
// started and emits closed().
class MainFrame final : public QMainWindow {
  Q_OBJECT

 public:
  // Timer intervals are in hundredths of a second.
  static constexpr int kDefaultTimerInterval = 100;

  // Called once, when the frame first opens, before the status bar is set (the
  // program reads the settings INI file's name there).
  using OpenHandler = std::function<void()>;

  // REQUIRES: clock, procedures and files outlive the frame.
  MainFrame(const Clock& clock, FrameProcedures& procedures, const records::FileRegistry& files,
            OpenHandler onOpen = {}, QWidget* parent = nullptr);
  ~MainFrame() override;

  // Sets the timer interval; a value outside 1..100 becomes 100 (one second).
  void SetTimerInterval(int hundredths);
  int timerInterval() const { return timerInterval_; }

  // The status bar zones 1..4.
  QLabel& statusZone(int zone) const;

  QAction& closeAction() const { return *closeAction_; }
  QAction& catalogueAction() const { return *catalogueAction_; }
  QAction& settingsAction() const { return *settingsAction_; }

 signals:
  void opened();
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  void BuildToolBar();
  void BuildStatusBar();
  void RefreshDateAndTime();
  void RestartTimer();
  void StartSettingsWindow();

  const Clock& clock_;
  FrameProcedures& procedures_;
  const records::FileRegistry& files_;
  records::RecordContext context_;
  OpenHandler onOpen_;
  bool opened_ = false;
  int timerInterval_ = kDefaultTimerInterval;
  int timerId_ = 0;
  QAction* closeAction_ = nullptr;
  QAction* catalogueAction_ = nullptr;
  QAction* settingsAction_ = nullptr;
  std::vector<QLabel*> statusZones_;
  std::vector<QPointer<QWidget>> independentWindows_;
};

}  // namespace paltrix::app
