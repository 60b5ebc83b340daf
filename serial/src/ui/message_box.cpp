// Message boxes: DisplayMessage and the port-open messages.

#include <QMessageBox>
#include <QWidget>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "tavix32.h"
#include "ui/gui_presence.h"

namespace tavix {
namespace {

struct ButtonAnswer {
  QMessageBox::StandardButton button;
  int32_t answer;
};

// The buttons of each button set, in the order shown; the first is the default.
std::vector<ButtonAnswer> ButtonsOf(uint32_t flags) {
  switch (flags & 0x0F) {
    case TAVIX_MB_OKCANCEL:
      return {{QMessageBox::Ok, TAVIX_ID_OK}, {QMessageBox::Cancel, TAVIX_ID_CANCEL}};
    case TAVIX_MB_ABORTRETRYIGNORE:
      return {{QMessageBox::Abort, TAVIX_ID_ABORT},
              {QMessageBox::Retry, TAVIX_ID_RETRY},
              {QMessageBox::Ignore, TAVIX_ID_IGNORE}};
    case TAVIX_MB_YESNOCANCEL:
      return {{QMessageBox::Yes, TAVIX_ID_YES},
              {QMessageBox::No, TAVIX_ID_NO},
              {QMessageBox::Cancel, TAVIX_ID_CANCEL}};
    case TAVIX_MB_YESNO:
      return {{QMessageBox::Yes, TAVIX_ID_YES}, {QMessageBox::No, TAVIX_ID_NO}};
    case TAVIX_MB_RETRYCANCEL:
      return {{QMessageBox::Retry, TAVIX_ID_RETRY}, {QMessageBox::Cancel, TAVIX_ID_CANCEL}};
    default:
      return {{QMessageBox::Ok, TAVIX_ID_OK}};
  }
}

QMessageBox::Icon IconOf(uint32_t flags) {
  switch (flags & 0xF0) {
    case TAVIX_MB_ICONSTOP:
      return QMessageBox::Critical;
    case TAVIX_MB_ICONQUESTION:
      return QMessageBox::Question;
    case TAVIX_MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case TAVIX_MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

int32_t ShowMessage(TavixWindow window, const char* caption, uint32_t flags, const char* text) {
  const std::vector<ButtonAnswer> buttons = ButtonsOf(flags);
  if (!CanShowWindows()) {
    std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "", text);
    return buttons.front().answer;
  }
  if (IconOf(flags) != QMessageBox::NoIcon) QApplication::beep();
  auto* parent = qobject_cast<QWidget*>(static_cast<QObject*>(window));
  QMessageBox box(IconOf(flags), QString::fromLocal8Bit(caption != nullptr ? caption : ""),
                  QString::fromLocal8Bit(text), QMessageBox::NoButton, parent);
  for (const ButtonAnswer& entry : buttons) box.addButton(entry.button);
  box.setDefaultButton(buttons.front().button);
  // Brought to the front; without an owner it blocks the whole application.
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  if (parent == nullptr) box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  const auto pressed = box.standardButton(box.clickedButton());
  for (const ButtonAnswer& entry : buttons)
    if (entry.button == pressed) return entry.answer;
  // Closed with Escape or the title bar: the answer of the cancelling button.
  return buttons.size() == 1 ? buttons.front().answer : buttons.back().answer;
}

constexpr std::array<const char*, 8> kPortOpenMessages = {
    "Communications Port Successfully Opened",
    "No UART Found",
    "Unknown Error",
    "Insufficient Memory For Communications Buffers",
    "Invalid Communications Port Specified",
    "Unable To Open Communications Port",
    "Communications Port Is Already In Use",
    "Unknown Communications Port Error"};

}  // namespace
}  // namespace tavix

using namespace tavix;

extern "C" int32_t DisplayMessage(TavixWindow window, const char* caption, uint32_t flags,
                                  const char* format, ...) {
  char text[512] = {};
  if (format != nullptr) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
  }
  return ShowMessage(window, caption, flags, text);
}

extern "C" int32_t DisplayPortError(int32_t code) {
  const char* text = code >= 0 && code < static_cast<int32_t>(kPortOpenMessages.size())
                         ? kPortOpenMessages[static_cast<std::size_t>(code)]
                         : "Unknown Error";
  return DisplayMessage(nullptr, "Port Open Error", TAVIX_MB_ICONSTOP, "%s", text);
}
