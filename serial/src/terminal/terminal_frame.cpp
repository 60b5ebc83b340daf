#include "terminal/terminal_frame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

#include "tavix32.h"
#include "terminal/button_bar.h"
#include "terminal/capture_table.h"
#include "terminal/terminal_commands.h"
#include "terminal/terminal_dialogs.h"
#include "terminal/terminal_display.h"
#include "ui/file_questions.h"

namespace tavix::terminal {
namespace {

constexpr int kStatusHeight = 20;

QWidget* CallerTopLevel(const TerminalSession& session) {
  auto* widget = qobject_cast<QWidget*>(session.caller.data());
  return widget != nullptr ? widget->window() : nullptr;
}

QWidget* MakeStatusStrip(QWidget* parent) {
  auto* strip = new QFrame(parent);
  strip->setObjectName("TavixTermStatus");
  strip->setFixedHeight(kStatusHeight);
  strip->setFrameShape(QFrame::Panel);
  strip->setFrameShadow(QFrame::Raised);
  strip->setAutoFillBackground(true);
  QPalette colours = strip->palette();
  colours.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  strip->setPalette(colours);
  return strip;
}

}  // namespace

QSize FrameSizeFor(QSize screen) {
  if (screen.width() <= 640 && screen.height() <= 480) return {600, 442};
  if (screen.width() <= 800 && screen.height() <= 600) return {672, 442};
  return {847, 647};
}

TerminalFrame::TerminalFrame(std::unique_ptr<TerminalSession> session)
    : session_(std::move(session)) {
  setObjectName("TavixTerm");
  setWindowTitle("Terminal");
  setAttribute(Qt::WA_DeleteOnClose);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  buttons_ = new ButtonBar(central);
  display_ = new TerminalDisplay(*session_, central);
  layout->addWidget(buttons_);
  layout->addWidget(display_, 1);
  layout->addWidget(MakeStatusStrip(central));
  setCentralWidget(central);
  BuildMenu();

  connect(buttons_, &ButtonBar::CommandIssued, this, &TerminalFrame::RunCommand);
  connect(display_, &TerminalDisplay::CarrierChanged, this,
          &TerminalFrame::SetCarrierCommandsEnabled);
  connect(display_, &TerminalDisplay::DoorwayMenuChanged, this,
          [this](bool checked) { ActionOf(kCommandDoorway)->setChecked(checked); });
  // Queued, so the download starts after the display has finished its notification.
  connect(display_, &TerminalDisplay::ZmodemDownloadRequested, this,
          &TerminalFrame::DownloadAutomatically, Qt::QueuedConnection);

  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen != nullptr ? screen->size() : QSize(1024, 768);
  resize(FrameSizeFor(screenSize));
  move(QPoint(screenSize.width() - width(), screenSize.height() - height()) / 2);
  ActionOf(kCommandEcho)->setChecked(session_->echo);
  SetCarrierCommandsEnabled(false);
}

TerminalFrame::~TerminalFrame() {
  ShutDown();
}

QAction* TerminalFrame::AddCommand(QMenu* menu, const QString& text, int command,
                                   const QString& shortcut) {
  auto* action = menu->addAction(text);
  action->setObjectName(QString("command%1").arg(command));
  if (!shortcut.isEmpty()) {
    action->setShortcut(QKeySequence(shortcut));
    action->setShortcutContext(Qt::WindowShortcut);
  }
  connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
  actions_[command] = action;
  return action;
}

void TerminalFrame::BuildMenu() {
  QMenu* file = menuBar()->addMenu("&File");
  AddCommand(file, "&Download...", kCommandDownload, "Alt+D");
  AddCommand(file, "&Upload...", kCommandUpload, "Alt+U");
  AddCommand(file, "E&xit Terminal", kCommandExit, "Alt+X");
  QMenu* session = menuBar()->addMenu("&Session");
  AddCommand(session, "&Hang Up (Drop Carrier)", kCommandHangUp, "Alt+H");
  AddCommand(session, "&Clear Screen", kCommandClearScreen, "Alt+C");
  AddCommand(session, "&DoorWay Mode", kCommandDoorway, "Alt+=")->setCheckable(true);
  AddCommand(session, "Modem &Parameters...", kCommandModemParameters, "Alt+P");
  AddCommand(session, "&Echo Keyboard Characters", kCommandEcho, "Alt+E")->setCheckable(true);
  AddCommand(session, "Capture Session To Disk...", kCommandCapture, {})->setCheckable(true);
  AddCommand(session, "Display Comm Errors...", kCommandCommErrors, {});
}

void TerminalFrame::SetTransferCommandsEnabled(bool on) {
  for (const int command : {kCommandUpload, kCommandDownload}) {
    ActionOf(command)->setEnabled(on);
    buttons_->SetCommandEnabled(command, on);
  }
}

void TerminalFrame::SetCarrierCommandsEnabled(bool on) {
  session_->carrier = on;
  ActionOf(kCommandHangUp)->setEnabled(on);
  buttons_->SetCommandEnabled(kCommandHangUp, on);
  SetTransferCommandsEnabled(on && !session_->transferRunning);
}

bool TerminalFrame::StartNotification() {
  if (SetReceiveNotify(session_->port, display_, 1) != 0) return false;
  const int started = ComNotifyThread(session_->port, 1, ComNotifyRoutine);
  return started == 0 || started == 2;
}

void TerminalFrame::RunCommand(int command) {
  const int port = session_->port;
  switch (command) {
    case kCommandUpload:
      Upload();
      break;
    case kCommandDownload:
      Download();
      break;
    case kCommandExit:
      close();
      break;
    case kCommandCapture:
      ToggleCapture();
      break;
    case kCommandHangUp:
      if (Iscd(port) != 0) {
        ModemHangUp(port);
        Dtr(port, 1);
      }
      break;
    case kCommandClearScreen:
      session_->screen.ClearScreen();
      display_->RefreshAll();
      break;
    case kCommandDoorway:
      session_->screen.SetDoorway(!session_->screen.Doorway());
      ActionOf(kCommandDoorway)->setChecked(session_->screen.Doorway());
      break;
    case kCommandModemParameters:
      EditSessionParameters(this, port);
      break;
    case kCommandEcho:
      session_->echo = !session_->echo;
      ActionOf(kCommandEcho)->setChecked(session_->echo);
      break;
    case kCommandCommErrors:
      DisplayErrors(port, display_);
      break;
    default:
      return;
  }
  if (!shutDown_ && command != kCommandExit) display_->setFocus();
}

template <typename Transfer>
void TerminalFrame::RunTransfer(Transfer transfer) {
  const int port = session_->port;
  session_->transferRunning = true;
  SetTransferCommandsEnabled(false);
  SuspendReceiveNotify(port, 1);
  ComNotifyThread(port, 0, nullptr);
  QWidget* caller = CallerTopLevel(*session_);
  if (caller != nullptr && caller != this) caller->setEnabled(false);
  transfer(port, display_);
  if (caller != nullptr && caller != this) caller->setEnabled(true);
  session_->transferRunning = false;
  SetCarrierCommandsEnabled(Iscd(port) != 0);
  SuspendReceiveNotify(port, 0);
  if (!StartNotification()) {
    DisplayMessage(this, "Terminal", TAVIX_MB_OK | TAVIX_MB_ICONSTOP,
                   "Receive notification could not be restarted; the terminal closes.");
    close();
    return;
  }
  // Text the peer sent after the transfer is shown at once.
  QCoreApplication::postEvent(display_,
                              new QEvent(static_cast<QEvent::Type>(TAVIX_COMMNOTIFY_EVENT)));
}

void TerminalFrame::Upload() {
  const int protocol = ChooseProtocol(this, session_->defaultProtocol);
  if (protocol < 0) return;
  RunTransfer([protocol](int port, QWidget* window) {
    return protocol == 6 ? SendZmodem(port, window) : ::Upload(port, window, protocol);
  });
}

void TerminalFrame::Download() {
  const int protocol = ChooseProtocol(this, session_->defaultProtocol);
  if (protocol < 0) return;
  RunTransfer([protocol](int port, QWidget* window) {
    return protocol == 6 ? GetZmodem(port, window) : ::Download(port, window, protocol);
  });
}

void TerminalFrame::DownloadAutomatically() {
  if (session_->transferRunning || shutDown_) return;
  const std::string directory = session_->downloadDirectory;
  RunTransfer([&directory](int port, QWidget* window) {
    return GetZmodemEx(port, window, directory.empty() ? nullptr : directory.c_str());
  });
}

void TerminalFrame::ToggleCapture() {
  const int port = session_->port;
  if (IsCapturing(port)) {
    SetCaptureBuf(port, 0);
  } else {
    const QStringList chosen =
        AskFileQuestion({FileQuestion::Kind::kSave, this, "Save Capture As", QString(),
                         "Capture Files (*.cap);;All Files (*.*)"});
    if (!chosen.isEmpty()) {
      const QString& name = chosen.front();
      if (SetCaptureBuf(port, 1) != 0) {
        DisplayMessage(this, "Capture", TAVIX_MB_OK | TAVIX_MB_ICONEXCLAMATION,
                       "Insufficient Memory For Capture Buffer!");
      } else {
        SetCaptureFile(port, name.toLocal8Bit().constData());
      }
    }
  }
  ActionOf(kCommandCapture)->setChecked(IsCapturing(port));
}

void TerminalFrame::closeEvent(QCloseEvent* event) {
  if (session_->transferRunning) {
    event->ignore();
    return;
  }
  if (Iscd(session_->port) != 0 &&
      DisplayMessage(this, "Terminal", TAVIX_MB_YESNO | TAVIX_MB_ICONQUESTION,
                     "You Are On-Line\nAre You Sure You Wish To Exit Terminal?") != TAVIX_ID_YES) {
    event->ignore();
    display_->setFocus();
    return;
  }
  event->accept();
  ShutDown();
  // The program's event loop ends with the terminal. Without a running loop exit() would make
  // every later modal loop of the thread return at once, so it is only called inside one.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

void TerminalFrame::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  const int port = session_->port;
  SetCaptureBuf(port, 0);
  SetReceiveNotify(port, display_, 0);
  ComNotifyThread(port, 0, nullptr);
  Dtr(port, 0);
  SetDialogFolders(port, {}, {});
  if (!session_->portOpenedByCaller) ResetPort(port, reinterpret_cast<uintptr_t>(this));
}

}  // namespace tavix::terminal
