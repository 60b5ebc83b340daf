#include "terminal/terminal_dialogs.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

#include "tavix32.h"
#include "terminal/protocol_names.h"

namespace tavix::terminal {
namespace {

constexpr std::array<int, 9> kRates = {300, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

QDialogButtonBox* OkCancel(QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

void CentreOn(QDialog& dialog, QWidget* parent) {
  dialog.adjustSize();
  if (parent != nullptr) {
    const QWidget* window = parent->window();
    dialog.move(window->geometry().center() - dialog.rect().center());
  }
}

// A group of radio buttons, each standing for a value.
QRadioButton* AddChoice(QGroupBox* group, QButtonGroup* buttons, const char* text, int value) {
  auto* button = new QRadioButton(text, group);
  button->setObjectName(QString("choice") + text);
  group->layout()->addWidget(button);
  buttons->addButton(button, value);
  return button;
}

}  // namespace

int ChooseProtocol(QWidget* parent, int defaultProtocol) {
  QDialog dialog(parent);
  dialog.setObjectName("GetProtoDlg");
  dialog.setWindowTitle("Select A Protocol");
  auto* list = new QListWidget(&dialog);
  list->setObjectName("protocolList");
  list->setFrameShadow(QFrame::Sunken);
  for (const std::string_view name : kProtocolNames) {
    list->addItem(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
  }
  const bool known =
      defaultProtocol >= 0 && defaultProtocol < static_cast<int>(kProtocolNames.size());
  list->setCurrentRow(known ? defaultProtocol : kZmodemProtocol);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(list);
  layout->addWidget(OkCancel(dialog));
  CentreOn(dialog, parent);
  if (dialog.exec() != QDialog::Accepted) return -1;
  return list->currentRow();
}

bool EditSessionParameters(QWidget* parent, int port) {
  std::array<int32_t, 5> current{};
  int rateIndex = 0;
  int dataBits = 8;
  int stopBits = 1;
  int parity = 0;
  if (GetCommParams(port, current.data()) == 0) {
    for (std::size_t i = 0; i < kRates.size(); ++i) {
      // The programmed 56000 of a 57600 request counts as 57600.
      if (kRates[i] == current[0] || (kRates[i] == 57600 && current[0] == 56000))
        rateIndex = static_cast<int>(i);
    }
    dataBits = current[2] == 7 ? 7 : 8;
    stopBits = current[3] == 2 ? 2 : 1;
    parity = current[4];
  }

  QDialog dialog(parent);
  dialog.setObjectName("ModemParamDlg");
  dialog.setWindowTitle("Session Parameters");
  auto* rates = new QListWidget(&dialog);
  rates->setObjectName("baudList");
  for (const int rate : kRates) rates->addItem(QString::number(rate));
  rates->setCurrentRow(rateIndex);

  auto makeGroup = [&dialog](const char* title) {
    auto* group = new QGroupBox(title, &dialog);
    group->setLayout(new QVBoxLayout);
    return group;
  };
  QGroupBox* dataGroup = makeGroup("Data Bits");
  QGroupBox* stopGroup = makeGroup("Stop Bits");
  QGroupBox* parityGroup = makeGroup("Parity");
  QButtonGroup dataButtons, stopButtons, parityButtons;
  AddChoice(dataGroup, &dataButtons, "7", 7);
  AddChoice(dataGroup, &dataButtons, "8", 8);
  AddChoice(stopGroup, &stopButtons, "1", 1);
  AddChoice(stopGroup, &stopButtons, "2", 2);
  AddChoice(parityGroup, &parityButtons, "None", 0);
  AddChoice(parityGroup, &parityButtons, "Even", 2);
  AddChoice(parityGroup, &parityButtons, "Odd", 1);
  dataButtons.button(dataBits)->setChecked(true);
  stopButtons.button(stopBits)->setChecked(true);
  if (QAbstractButton* button = parityButtons.button(parity); button != nullptr) {
    button->setChecked(true);
  } else {
    parityButtons.button(0)->setChecked(true);
  }

  auto* layout = new QGridLayout(&dialog);
  layout->addWidget(new QLabel("&Baud Rate", &dialog), 0, 0);
  layout->addWidget(rates, 1, 0, 3, 1);
  layout->addWidget(dataGroup, 1, 1);
  layout->addWidget(stopGroup, 2, 1);
  layout->addWidget(parityGroup, 3, 1);
  layout->addWidget(OkCancel(dialog), 4, 0, 1, 2);
  CentreOn(dialog, parent);
  if (dialog.exec() != QDialog::Accepted) return false;

  const int result =
      InitPort(port, kRates[std::max(0, rates->currentRow())], parityButtons.checkedId(),
               dataButtons.checkedId(), stopButtons.checkedId());
  if (result != 0) {
    DisplayMessage(parent, "Session Parameters", TAVIX_MB_OK | TAVIX_MB_ICONEXCLAMATION,
                   "The port refused these line settings; it keeps the previous ones.");
  }
  return result == 0;
}

}  // namespace tavix::terminal
