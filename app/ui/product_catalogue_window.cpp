#include "app/ui/product_catalogue_window.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <filesystem>

#include "app/catalogue/label_type_option.h"
#include "app/records/firma.h"
#include "app/records/printer.h"
#include "app/records/printer_file.h"
#include "app/records/produkt.h"
#include "app/settings/printer_settings.h"
#include "app/settings/settings_ini_name.h"
#include "app/ui/form_controls.h"
#include "app/ui/product_list_model.h"
#include "app/ui/single_line_cell_delegate.h"
#include "framework/fields/record_codec.h"
#include "framework/path/path_resolver.h"
#include "framework/text/windows1252.h"

namespace paltrix::app {
namespace {

namespace produkt = records::produkt;
using dispatch::LabelType;

constexpr int kIdTab = 0;
constexpr int kNameTab = 1;
constexpr int kAi90Length = 39;

struct LabelTypeChoice {
  const char* text;
  LabelType type;
  int controlNumber;  // 0: the mixed-pallet label, which the window numbers not
};

constexpr LabelTypeChoice kLabelTypeChoices[] = {
    {"Palle", LabelType::kPallet, 13},
    {"Kolli", LabelType::kCase, 14},
    {"EAN-13", LabelType::kEanItem, 15},
    {"Blandet palle", LabelType::kMixedPallet, 0},
};

bool IdToAi90Configured() {
  Result<std::filesystem::path> ini =
      settings::CurrentSettingsIniPath(std::filesystem::current_path());
  if (!ini.ok()) return false;
  Result<settings::PrinterSettings> read = settings::ReadPrinterSettings(*ini);
  return read.ok() && read->ai90Flag == 1;
}

}  // namespace

ProductCatalogueWindow::ProductCatalogueWindow(records::RecordContext& context,
                                               CataloguePrinting& printing, QWidget* parent)
    : QDialog(parent), context_(context), printing_(printing) {
  setObjectName(QStringLiteral("ProductCatalogue"));
  setWindowTitle(QStringLiteral("Produkt katalog"));

  // Opening: the three files, the sender and the Printer record.
  static_cast<void>(context_.File(records::firma::kSchema));
  static_cast<void>(context_.File(produkt::kSchema));
  static_cast<void>(context_.ReadFirma());
  static_cast<void>(records::LoadPrinterRecord(records::PrinterRecord::Process(),
                                               context_.files().errorManager()));
  idToAi90_ = IdToAi90Configured();

  model_ = new ProductListModel(context_, this);
  BuildControls();
  ApplyLabelTypeRule();
  SelectRow(model_->rowCount() > 0 ? std::optional<int>(0) : std::nullopt);
  resize(900, 560);
}

ProductCatalogueWindow::~ProductCatalogueWindow() = default;

void ProductCatalogueWindow::BuildControls() {
  list_ = new QTableView(this);
  list_->setObjectName(QStringLiteral("ProductList"));
  list_->setProperty("controlNumber", 1);
  list_->setModel(model_);
  list_->setItemDelegate(new SingleLineCellDelegate(list_));  // it draws the grid
  list_->setShowGrid(false);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setTabKeyNavigation(false);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->horizontalHeader()->setSectionsClickable(true);
  const int charWidth = list_->fontMetrics().averageCharWidth();
  constexpr int kShownCharacters[] = {20, 14, 40, 40, 15};
  for (int column = 0; column < ProductListModel::kColumnCount; ++column) {
    list_->setColumnWidth(column, charWidth * kShownCharacters[column] + 12);
  }
  list_->installEventFilter(this);

  sortTabs_ = new QTabBar(this);
  sortTabs_->setObjectName(QStringLiteral("SortTabs"));
  sortTabs_->setProperty("controlNumber", 2);
  sortTabs_->addTab(QStringLiteral("Produkt ID"));
  sortTabs_->addTab(QStringLiteral("Navn"));
  locatorLabel_ = new QLabel(this);
  locatorLabel_->setObjectName(QStringLiteral("Locator"));

  QPushButton* insert =
      ImageButton(*this, QStyle::SP_FileDialogNewFolder, "Indsæt", "InsertButton", 5);
  QPushButton* change =
      ImageButton(*this, QStyle::SP_FileDialogDetailedView, "Ret", "ChangeButton", 6);
  QPushButton* remove = ImageButton(*this, QStyle::SP_TrashIcon, "Slet", "DeleteButton", 7);
  QPushButton* select = ListButton(*this, QStringLiteral("&Vælg"), "SelectButton", 8);
  ai90Entry_ = new QLineEdit(this);
  ai90Entry_->setObjectName(QStringLiteral("Ai90Entry"));
  ai90Entry_->setProperty("controlNumber", 9);
  ai90Entry_->setMaxLength(kAi90Length);
  QPushButton* print = ListButton(*this, QStringLiteral("Print (F4)"), "PrintButton", 10);
  QPushButton* close = ImageButton(*this, QStyle::SP_DialogCloseButton, "Luk", "CloseButton", 11);

  labelTypeGroup_ = new QGroupBox(this);
  labelTypeGroup_->setObjectName(QStringLiteral("LabelTypeGroup"));
  labelTypeGroup_->setProperty("controlNumber", 12);
  labelTypeButtons_ = new QButtonGroup(this);
  auto* labelTypeLayout = new QVBoxLayout(labelTypeGroup_);
  for (const LabelTypeChoice& choice : kLabelTypeChoices) {
    auto* option = new QRadioButton(QString::fromUtf8(choice.text), labelTypeGroup_);
    if (choice.controlNumber != 0) option->setProperty("controlNumber", choice.controlNumber);
    option->setChecked(choice.type == LabelType::kPallet);
    labelTypeButtons_->addButton(option, static_cast<int>(choice.type));
    labelTypeLayout->addWidget(option);
  }
  connect(labelTypeButtons_, &QButtonGroup::idClicked, this,
          [this](int id) { labelType_ = static_cast<LabelType>(id); });

  QPushButton* directPrint = ListButton(
      *this, QStringLiteral("PRINT\nUDSKRIV DET FREMHÆVEDE VARENR"), "DirectPrintButton", 16);
  QFont big = directPrint->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  directPrint->setFont(big);
  directPrint->setMinimumHeight(64);

  auto* top = new QHBoxLayout;
  top->addWidget(sortTabs_);
  top->addWidget(locatorLabel_, 1);
  auto* side = new QVBoxLayout;
  for (QWidget* widget : {static_cast<QWidget*>(insert), static_cast<QWidget*>(change),
                          static_cast<QWidget*>(remove)}) {
    side->addWidget(widget);
  }
  side->addWidget(labelTypeGroup_);
  side->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(list_, 1);
  middle->addLayout(side);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(select);
  bottom->addWidget(new QLabel(QStringLiteral("AI90"), this));
  bottom->addWidget(ai90Entry_, 1);
  bottom->addWidget(print);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle, 1);
  layout->addLayout(bottom);
  layout->addWidget(directPrint);

  QWidget* order[] = {list_,      sortTabs_, insert, change,          remove,     select,
                      ai90Entry_, print,     close,  labelTypeGroup_, directPrint};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(sortTabs_, &QTabBar::currentChanged, this, &ProductCatalogueWindow::ChooseSortTab);
  connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    // The two columns with a key sort by it; the others have no order of their own.
    if (column == ProductListModel::kIdColumn) sortTabs_->setCurrentIndex(kIdTab);
    if (column == ProductListModel::kNameColumn) sortTabs_->setCurrentIndex(kNameTab);
  });
  connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (value != list_->verticalScrollBar()->minimum() || model_->atStart()) return;
    const int added = model_->FetchBefore();
    list_->verticalScrollBar()->setValue(added);
  });
  connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &ProductCatalogueWindow::RefreshControls);
  connect(list_, &QTableView::doubleClicked, this, [this] { OpenForm(FormRequest::kChange); });
  connect(insert, &QPushButton::clicked, this, [this] { OpenForm(FormRequest::kInsert); });
  connect(change, &QPushButton::clicked, this, [this] { OpenForm(FormRequest::kChange); });
  connect(remove, &QPushButton::clicked, this, [this] { OpenForm(FormRequest::kDelete); });
  connect(select, &QPushButton::clicked, this, [this] { OpenPrintWindow(false); });
  connect(print, &QPushButton::clicked, this, [this] { OpenPrintWindow(true); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(directPrint, &QPushButton::clicked, this, &ProductCatalogueWindow::PrintDirectly);
  connect(new QShortcut(QKeySequence(Qt::Key_F4), this), &QShortcut::activated, print,
          &QPushButton::click);
  connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, directPrint,
          &QPushButton::click);
}

void ProductCatalogueWindow::ChooseSortTab(int tab) {
  nameLocator_.clear();
  locatorLabel_->clear();
  const std::size_t key = tab == kNameTab ? produkt::kNavneKey : produkt::kIDKey;
  // The highlighted product stays highlighted in the other order.
  if (const std::optional<int> row = CurrentRow()) {
    const storage::RecordNumber kept = model_->NumberAt(*row);
    const storage::Record around = model_->RecordAt(*row);
    const std::optional<int> located = model_->SetKey(key, &around);
    const std::optional<int> keptRow = model_->RowOf(kept);
    SelectRow(keptRow ? keptRow : located);
  } else {
    SelectRow(model_->SetKey(key));
  }
  list_->setFocus();
}

bool ProductCatalogueWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != list_ || event->type() != QEvent::KeyPress) {
    return QDialog::eventFilter(watched, event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  if (const std::optional<FormRequest> request = FormRequestForKey(key->key())) {
    OpenForm(*request);
    return true;
  }
  const Qt::KeyboardModifiers modifiers =
      key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  switch (key->key()) {
    case Qt::Key_Home:
      SelectRow(model_->First());
      return true;
    case Qt::Key_End:
      SelectRow(model_->Last());
      return true;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
      // Read the records above before the highlight reaches the top of the window.
      if (const std::optional<int> row = CurrentRow(); row && *row < ProductListModel::kPageRows) {
        model_->FetchBefore();
      }
      return false;
    case Qt::Key_Backspace:
      if (sortTabs_->currentIndex() == kNameTab && !nameLocator_.isEmpty()) {
        nameLocator_.chop(1);
        LocateTyped(nameLocator_);
      }
      return true;
    default:
      break;
  }
  const QString typed = key->text();
  if (modifiers != Qt::NoModifier || typed.isEmpty() || !typed.at(0).isPrint()) return false;
  if (sortTabs_->currentIndex() == kIdTab) {
    LocateTyped(typed.left(1));
  } else if (nameLocator_.size() < kMaxNameLocatorLength) {
    nameLocator_ += typed.left(kMaxNameLocatorLength - nameLocator_.size());
    LocateTyped(nameLocator_);
  }
  return true;
}

void ProductCatalogueWindow::LocateTyped(const QString& typed) {
  locatorLabel_->setText(typed);
  const std::optional<std::string> value = text::FromUtf8(typed.toStdString());
  if (!value) return;
  storage::Record probe = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(
      probe.image,
      sortTabs_->currentIndex() == kNameTab ? produkt::PRODUKTNAVN : produkt::PRODUKTID, *value);
  SelectRow(model_->Locate(probe));
}

void ProductCatalogueWindow::SelectRow(std::optional<int> row) {
  if (!row) {
    RefreshControls();
    return;
  }
  const QModelIndex index = model_->index(*row, 0);
  list_->setCurrentIndex(index);
  list_->scrollTo(index);
  RefreshControls();
}

std::optional<int> ProductCatalogueWindow::CurrentRow() const {
  const QModelIndex current = list_->currentIndex();
  if (!current.isValid()) return std::nullopt;
  return current.row();
}

void ProductCatalogueWindow::RefreshList() {
  const std::optional<int> row = CurrentRow();
  SelectRow(row ? model_->Refresh(model_->NumberAt(*row)) : model_->First());
}

void ProductCatalogueWindow::RefreshControls() {
  if (!idToAi90_) return;
  if (const std::optional<int> row = CurrentRow()) {
    const std::string id = fields::ReadText(model_->RecordAt(*row).image, produkt::PRODUKTID);
    ai90Entry_->setText(QString::fromStdString(text::ToUtf8(id)));
  }
}

bool ProductCatalogueWindow::event(QEvent* event) {
  // Coming back to the window shows what others changed meanwhile: the
  // products, and a label format the settings window may have changed.
  if (event->type() == QEvent::WindowActivate && model_ != nullptr) {
    RefreshList();
    ApplyLabelTypeRule();
  }
  return QDialog::event(event);
}

void ProductCatalogueWindow::ApplyLabelTypeRule() {
  // The record as the print windows will read it when they open; when the
  // file cannot be read they keep the buffer, and report it then.
  records::PrinterRecord printer = records::PrinterRecord::Process();
  if (Result<std::filesystem::path> file = path::ResolveDiskName(records::printer::kDiskName)) {
    static_cast<void>(printer.Read(*file));
  }
  const bool shown =
      catalogue::LabelTypeOptionShown(fields::ReadText(printer.image(), records::printer::PRINTER),
                                      fields::ReadLong(printer.image(), records::printer::DOTS));
  labelTypeGroup_->setVisible(shown);
  if (shown || labelType_ == LabelType::kPallet) return;
  labelType_ = LabelType::kPallet;
  labelTypeButtons_->button(static_cast<int>(LabelType::kPallet))->setChecked(true);
}

void ProductCatalogueWindow::OpenForm(FormRequest request) {
  const std::optional<int> row = CurrentRow();
  if (request != FormRequest::kInsert && !row) return;
  ProductForm form(context_, request, row ? model_->NumberAt(*row) : 0, this);
  if (form.exec() != QDialog::Accepted || request == FormRequest::kDelete) {
    RefreshList();
    return;
  }
  model_->Refresh(form.savedNumber());
  if (std::optional<int> saved = model_->RowOf(form.savedNumber())) {
    SelectRow(saved);
  } else {
    storage::Record probe = form.record();
    SelectRow(model_->Locate(probe));
  }
}

bool ProductCatalogueWindow::LoadHighlighted(bool reload) {
  const std::optional<int> row = CurrentRow();
  if (!row) return false;
  storage::Record& buffer = context_.Buffer(produkt::kSchema);
  if (!reload) {
    buffer = model_->RecordAt(*row);
    return true;
  }
  Result<storage::KeyedFile*> file = context_.File(produkt::kSchema);
  if (!file.ok()) return false;
  if (Status status = (*file)->Get(model_->NumberAt(*row), buffer); !status.ok()) {
    // Deleted at another station meanwhile: show the list as it is now.
    RefreshList();
    return false;
  }
  return true;
}

void ProductCatalogueWindow::OpenPrintWindow(bool reload) {
  if (!LoadHighlighted(reload)) return;
  printing_.OpenPrintWindow(*this, context_, labelType_, ai90Entry_->text());
  RefreshList();
}

void ProductCatalogueWindow::PrintDirectly() {
  if (!LoadHighlighted(true)) return;
  printing_.PrintDirect(*this, context_, labelType_, ai90Entry_->text());
  RefreshList();
}

}  // namespace paltrix::app
