// CreateTvxTerm, CreateTvxTermEx, CheckIfTermActive and SetTermOptions: one terminal frame per
// port, created on the QApplication's thread.

#include <QPointer>
#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "tavix32.h"
#include "terminal/terminal_display.h"
#include "terminal/terminal_frame.h"
#include "ui/file_questions.h"
#include "ui/gui_presence.h"

namespace tavix::terminal {
namespace {

std::array<QPointer<TerminalFrame>, TAVIX_PORT_COUNT> frames;

TerminalFrame* ActiveFrame(int port) {
  if (port < 0 || port >= TAVIX_PORT_COUNT) return nullptr;
  TerminalFrame* frame = frames[port].data();
  return frame != nullptr && !frame->IsClosed() ? frame : nullptr;
}

// Keeps `field` unless `value` is a usable directory name.
void SetDirectory(std::string& field, const char* value) {
  if (value == nullptr) return;
  if (std::strlen(value) > kMaxDirectoryLength) {
    DisplayMessage(nullptr, "Terminal", TAVIX_MB_OK | TAVIX_MB_ICONEXCLAMATION,
                   "The folder name is longer than %zu characters and was not taken.",
                   kMaxDirectoryLength);
    return;
  }
  field = value;
}

int32_t Create(int32_t port, TavixWindow caller, int32_t attribute, int32_t echo,
               const LineSettings* openWith) {
  if (port < 0 || port >= TAVIX_PORT_COUNT) return TAVIX_TERM_PORT_FAILED;
  if (TerminalFrame* frame = ActiveFrame(port); frame != nullptr) {
    frame->showNormal();
    frame->raise();
    frame->activateWindow();
    return TAVIX_TERM_CREATED;
  }
  if (!CanShowWindows()) return TAVIX_TERM_NO_WINDOWS;

  std::unique_ptr<TerminalSession> session(
      new (std::nothrow) TerminalSession(port, static_cast<std::uint8_t>(attribute), echo != 0));
  if (session == nullptr) return TAVIX_TERM_NO_MEMORY;
  session->caller = static_cast<QObject*>(caller);
  if (openWith != nullptr) {
    session->portOpenedByCaller = false;
    session->line = *openWith;
  }
  auto* frame = new TerminalFrame(std::move(session));
  const uintptr_t ownerTag = reinterpret_cast<uintptr_t>(frame);
  if (openWith != nullptr) {
    const int32_t opened =
        SetPortEx(port, ownerTag, TAVIX_DEFAULT_RX_QUEUE, TAVIX_DEFAULT_TX_QUEUE, 1, 0, 0);
    if (opened != TAVIX_PORT_OPENED) {
      DisplayPortError(opened);
      frame->Session().portOpenedByCaller = true;  // nothing of ours to close
      delete frame;
      return TAVIX_TERM_PORT_FAILED;
    }
    if (InitPort(port, openWith->baud, openWith->parity, openWith->dataBits, openWith->stopBits) !=
        0) {
      delete frame;  // closes the port it opened
      return TAVIX_TERM_PORT_FAILED;
    }
  }
  if (!frame->StartNotification()) {
    delete frame;
    return TAVIX_TERM_PORT_FAILED;
  }
  frame->SetCarrierCommandsEnabled(Iscd(port) != 0);
  frames[port] = frame;
  frame->show();
  frame->Display()->setFocus();
  // Data already waiting is shown.
  QCoreApplication::postEvent(frame->Display(),
                              new QEvent(static_cast<QEvent::Type>(TAVIX_COMMNOTIFY_EVENT)));
  return TAVIX_TERM_CREATED;
}

}  // namespace
}  // namespace tavix::terminal

using tavix::terminal::LineSettings;

extern "C" int32_t CreateTvxTerm(int32_t port, TavixWindow caller, int32_t attribute,
                                 int32_t echo) {
  return tavix::terminal::Create(port, caller, attribute, echo, nullptr);
}

extern "C" int32_t CreateTvxTermEx(int32_t port, TavixWindow caller, int32_t attribute,
                                   int32_t echo, int32_t baud, int32_t parity, int32_t dataBits,
                                   int32_t stopBits) {
  const LineSettings line{baud, parity, dataBits, stopBits};
  return tavix::terminal::Create(port, caller, attribute, echo, &line);
}

extern "C" int32_t CheckIfTermActive(int32_t port) {
  return tavix::terminal::ActiveFrame(port) != nullptr ? 1 : 0;
}

extern "C" void SetTermOptions(int32_t port, int32_t defaultProtocol, const char* uploadDir,
                               const char* downloadDir) {
  tavix::terminal::TerminalFrame* frame = tavix::terminal::ActiveFrame(port);
  if (frame == nullptr) return;
  tavix::terminal::TerminalSession& session = frame->Session();
  session.defaultProtocol = defaultProtocol;
  tavix::terminal::SetDirectory(session.uploadDirectory, uploadDir);
  tavix::terminal::SetDirectory(session.downloadDirectory, downloadDir);
  tavix::SetDialogFolders(port, session.uploadDirectory, session.downloadDirectory);
}
