#include "app/ui/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>
#include <QTimerEvent>
#include <QToolBar>
#include <cassert>

#include "app/ui/app_icon.h"
#include "app/ui/frame_images.h"

namespace paltrix::app {
namespace {

constexpr int kStatusZoneCount = 4;
constexpr int kDateZone = 3;
constexpr int kTimeZone = 4;
constexpr int kMillisecondsPerHundredth = 10;

// The window's own numbers of the toolbar controls.
constexpr int kCloseControl = -2;
constexpr int kHeaderImageControl = -4;
constexpr int kAddressImageControl = -5;
constexpr int kCloseInfoImageControl = -6;
constexpr int kCatalogueControl = -7;
constexpr int kSettingsControl = -8;

QAction* AddToolAction(QToolBar& toolBar, const QIcon& icon, const char* text, Qt::Key key,
                       int control, const char* objectName) {
  QAction* action = toolBar.addAction(icon, QString::fromUtf8(text));
  action->setObjectName(objectName);
  action->setShortcut(QKeySequence(key));
  action->setShortcutContext(Qt::WindowShortcut);
  action->setProperty("controlNumber", control);
  return action;
}

QLabel* AddImage(QToolBar& toolBar, int control, const char* objectName) {
  auto* image = new QLabel(&toolBar);
  image->setObjectName(objectName);
  image->setProperty("controlNumber", control);
  toolBar.addWidget(image);
  return image;
}

}  // namespace

MainFrame::MainFrame(const Clock& clock, FrameProcedures& procedures,
                     const records::FileRegistry& files, OpenHandler onOpen, QWidget* parent)
    : QMainWindow(parent),
      clock_(clock),
      procedures_(procedures),
      files_(files),
      context_(files),
      onOpen_(std::move(onOpen)) {
  setObjectName(kFrameObjectName);
  setWindowTitle(QString::fromUtf8(kFrameTitle));
  setWindowIcon(PaltrixIcon());
  BuildToolBar();
  BuildStatusBar();
  resize(720, 420);
}

MainFrame::~MainFrame() = default;

void MainFrame::BuildToolBar() {
  auto* toolBar = addToolBar(QStringLiteral("Værktøjslinje"));
  toolBar->setObjectName("FrameToolBar");
  toolBar->setMovable(false);
  toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolBar->setIconSize(QSize(32, 32));

  closeAction_ = AddToolAction(*toolBar, style()->standardIcon(QStyle::SP_DialogCloseButton),
                               "Luk program (F8)", Qt::Key_F8, kCloseControl, "CloseProgram");
  connect(closeAction_, &QAction::triggered, this, &QWidget::close);

  AddImage(*toolBar, kHeaderImageControl, "HeaderImage")->setPixmap(FrameHeaderImage());
  AddImage(*toolBar, kAddressImageControl, "AddressImage")->setPixmap(FrameAddressImage());
  AddImage(*toolBar, kCloseInfoImageControl, "CloseInfoImage")->setPixmap(FrameCloseInfoImage());

  catalogueAction_ =
      AddToolAction(*toolBar, style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                    "Produkter (F2)", Qt::Key_F2, kCatalogueControl, "Products");
  connect(catalogueAction_, &QAction::triggered, this,
          [this] { procedures_.RunProductCatalogue(*this, context_); });

  settingsAction_ = AddToolAction(*toolBar, style()->standardIcon(QStyle::SP_ComputerIcon),
                                  "Indstillinger (F10)", Qt::Key_F10, kSettingsControl, "Settings");
  connect(settingsAction_, &QAction::triggered, this, &MainFrame::StartSettingsWindow);
}

void MainFrame::BuildStatusBar() {
  for (int zone = 1; zone <= kStatusZoneCount; ++zone) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("StatusZone%1").arg(zone));
    statusBar()->addPermanentWidget(label, zone <= 2 ? 1 : 0);
    statusZones_.push_back(label);
  }
}

QLabel& MainFrame::statusZone(int zone) const {
  assert(zone >= 1 && zone <= kStatusZoneCount);
  return *statusZones_[static_cast<std::size_t>(zone - 1)];
}

void MainFrame::SetTimerInterval(int hundredths) {
  timerInterval_ = hundredths >= 1 && hundredths <= 100 ? hundredths : kDefaultTimerInterval;
  if (timerId_ != 0) RestartTimer();
}

void MainFrame::RestartTimer() {
  if (timerId_ != 0) killTimer(timerId_);
  timerId_ = startTimer(timerInterval_ * kMillisecondsPerHundredth);
}

void MainFrame::RefreshDateAndTime() {
  const LocalDateTime now = clock_.Now();
  statusZone(kDateZone).setText(QStringLiteral("%1/%2/%3")
                                    .arg(now.date.day, 2, 10, QLatin1Char('0'))
                                    .arg(now.date.month, 2, 10, QLatin1Char('0'))
                                    .arg(now.date.year, 4, 10, QLatin1Char('0')));
  statusZone(kTimeZone).setText(QStringLiteral("%1:%2")
                                    .arg(now.hour, 2, 10, QLatin1Char('0'))
                                    .arg(now.minute, 2, 10, QLatin1Char('0')));
}

void MainFrame::StartSettingsWindow() {
  std::erase_if(independentWindows_, [](const QPointer<QWidget>& window) { return !window; });
  if (QPointer<QWidget> window = procedures_.StartSettingsWindow(files_)) {
    independentWindows_.push_back(window);
  }
}

void MainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (opened_) return;
  opened_ = true;
  if (onOpen_) onOpen_();
  RefreshDateAndTime();
  RestartTimer();
  emit opened();
}

void MainFrame::closeEvent(QCloseEvent* event) {
  // Ending the program ends the windows it runs on the frame too (a catalogue
  // still open when the program is told to stop).
  for (QDialog* dialog : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) dialog->reject();
  for (const QPointer<QWidget>& window : independentWindows_) {
    if (window) window->close();
  }
  independentWindows_.clear();
  if (timerId_ != 0) {
    killTimer(timerId_);
    timerId_ = 0;
  }
  QMainWindow::closeEvent(event);
  emit closed();
}

void MainFrame::timerEvent(QTimerEvent* event) {
  if (event->timerId() == timerId_) {
    RefreshDateAndTime();
    return;
  }
  QMainWindow::timerEvent(event);
}

}  // namespace paltrix::app
