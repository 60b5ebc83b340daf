#include "framework/ui/qt_message_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <functional>

#include "framework/ui/errors_history_dialog.h"

namespace paltrix::ui {
namespace {

struct ButtonMapping {
  int bit;
  QMessageBox::StandardButton button;
};

constexpr ButtonMapping kButtonMappings[] = {
    {errors::kButtonOk, QMessageBox::Ok},         {errors::kButtonYes, QMessageBox::Yes},
    {errors::kButtonNo, QMessageBox::No},         {errors::kButtonAbort, QMessageBox::Abort},
    {errors::kButtonRetry, QMessageBox::Retry},   {errors::kButtonIgnore, QMessageBox::Ignore},
    {errors::kButtonCancel, QMessageBox::Cancel}, {errors::kButtonHelp, QMessageBox::Help},
};

QMessageBox::StandardButtons StandardButtons(int mask) {
  QMessageBox::StandardButtons buttons;
  for (const ButtonMapping& mapping : kButtonMappings) {
    if ((mask & mapping.bit) != 0) buttons |= mapping.button;
  }
  return buttons;
}

QMessageBox::StandardButton StandardButton(int bit) {
  for (const ButtonMapping& mapping : kButtonMappings) {
    if (mapping.bit == bit) return mapping.button;
  }
  return QMessageBox::NoButton;
}

int ButtonBit(QMessageBox::StandardButton button, int defaultButton) {
  for (const ButtonMapping& mapping : kButtonMappings) {
    if (mapping.button == button) return mapping.bit;
  }
  return defaultButton;
}

QMessageBox::Icon BoxIcon(errors::MessageIcon icon) {
  switch (icon) {
    case errors::MessageIcon::kNone:
      return QMessageBox::NoIcon;
    case errors::MessageIcon::kInformation:
      return QMessageBox::Information;
    case errors::MessageIcon::kExclamation:
      return QMessageBox::Warning;
    case errors::MessageIcon::kQuestion:
      return QMessageBox::Question;
    case errors::MessageIcon::kHand:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

// Runs `show` on the GUI thread and returns its answer.
int OnGuiThread(const std::function<int()>& show) {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr || QThread::currentThread() == application->thread()) return show();
  int answer = 0;
  QMetaObject::invokeMethod(
      application, [&] { answer = show(); }, Qt::BlockingQueuedConnection);
  return answer;
}

}  // namespace

int QtMessagePresenter::ShowMessageBox(const errors::MessageBoxRequest& request) {
  return OnGuiThread([&request] {
    QMessageBox box(BoxIcon(request.icon), QString::fromStdString(request.title),
                    QString::fromStdString(request.text), StandardButtons(request.buttons),
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("errorMessageBox"));
    if (QMessageBox::StandardButton standard = StandardButton(request.defaultButton);
        standard != QMessageBox::NoButton) {
      box.setDefaultButton(standard);
    }
    box.exec();
    return ButtonBit(box.standardButton(box.clickedButton()), request.defaultButton);
  });
}

int QtMessagePresenter::ShowHistory(std::string_view title,
                                    std::span<const errors::HistoryEntry> entries, int buttons,
                                    int defaultButton) {
  return OnGuiThread([&] {
    ErrorsHistoryDialog dialog(title, entries, buttons, defaultButton,
                               QApplication::activeWindow());
    return dialog.exec();
  });
}

}  // namespace paltrix::ui
