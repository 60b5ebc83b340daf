// The "Communications Errors" dialog with the five line-error counters of a port.

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <cstdio>

#include "port/port_table.h"
#include "tavix32.h"
#include "ui/gui_presence.h"

namespace tavix {
namespace {

constexpr int kOkCommand = 1;

struct CounterRow {
  int controlId;
  const char* caption;
  std::uint32_t PortState::*counter;
};

constexpr std::array<CounterRow, 5> kCounterRows = {{
    {102, "CTS Timeouts:", &PortState::ctsTimeouts},
    {103, "DSR Timeouts:", &PortState::dsrTimeouts},
    {104, "Overrun Errors:", &PortState::overrunErrors},
    {105, "Receive Queue Overruns:", &PortState::rxQueueOverruns},
    {106, "Transmit Queue Full:", &PortState::txQueueFull},
}};

QString ValueFieldName(int controlId) {
  return QStringLiteral("counter%1").arg(controlId);
}

std::uint32_t CounterValue(int port, const CounterRow& row) {
  const PortRecord* record = PortSlot(port);
  return record != nullptr ? record->state.*row.counter : 0;
}

}  // namespace
}  // namespace tavix

using namespace tavix;

extern "C" intptr_t CommErrorDialogProc(TavixWindow dialog, uint32_t message, uintptr_t wParam,
                                        intptr_t lParam) {
  auto* window = qobject_cast<QDialog*>(static_cast<QObject*>(dialog));
  if (window == nullptr) return 0;
  if (message == TAVIX_WM_INITDIALOG) {
    for (const CounterRow& row : kCounterRows)
      if (auto* field = window->findChild<QLabel*>(ValueFieldName(row.controlId)))
        field->setText(QString::number(CounterValue(static_cast<int>(lParam), row)));
    return 1;
  }
  if (message == TAVIX_WM_COMMAND && wParam == kOkCommand) {
    window->done(1);
    return 1;
  }
  return 0;
}

extern "C" int32_t DisplayErrors(int32_t port, TavixWindow parent) {
  if (!CanShowWindows()) {
    std::fprintf(stderr, "Communications Errors (COM%d)\n", port + 1);
    for (const CounterRow& row : kCounterRows)
      std::fprintf(stderr, "  %-24s %u\n", row.caption, CounterValue(port, row));
    return 1;
  }
  QDialog dialog(qobject_cast<QWidget*>(static_cast<QObject*>(parent)));
  dialog.setWindowTitle(QStringLiteral("Communications Errors"));
  auto* layout = new QGridLayout(&dialog);
  int line = 0;
  for (const CounterRow& row : kCounterRows) {
    layout->addWidget(new QLabel(QString::fromLatin1(row.caption)), line, 0);
    auto* value = new QLabel(QStringLiteral("999999"));
    value->setObjectName(ValueFieldName(row.controlId));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(value, line++, 1);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  layout->addWidget(buttons, line, 0, 1, 2);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog,
                   [&dialog] { CommErrorDialogProc(&dialog, TAVIX_WM_COMMAND, kOkCommand, 0); });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog,
                   [&dialog] { CommErrorDialogProc(&dialog, TAVIX_WM_COMMAND, kOkCommand, 0); });
  CommErrorDialogProc(&dialog, TAVIX_WM_INITDIALOG, 0, port);
  dialog.exec();
  return 1;
}
