#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "app/dispatch/label_format.h"
#include "app/records/record_context.h"
#include "app/ui/catalogue_printing.h"
#include "app/ui/product_form.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableView;

namespace paltrix::app {

class ProductListModel;

// "Produkt katalog": the product list with its two sort orders and locators,
// the product form, and the two ways to print the highlighted product.
//
// Controls in tab order (object names in brackets): the list [ProductList],
// the sort tabs "Produkt ID" and "Navn" [SortTabs], insert, change and delete
// [InsertButton, ChangeButton, DeleteButton; keys Insert, Return and Delete
// on the list], "&Vælg" [SelectButton], the AI90 text [Ai90Entry],
// "Print (F4)" [PrintButton], close [CloseButton, Escape], the label type
// [LabelTypeGroup: "Palle", "Kolli", "EAN-13", "Blandet palle"] and "PRINT"
// [DirectPrintButton, F6]. Each control carries its window number in the
// property controlNumber.
//
// Typing on the list locates: on "Produkt ID" each character moves to the
// first product whose ID starts with it (or the next one after it); on
// "Navn" the typed characters (up to 40, Backspace takes one back) move to
// the first name that starts with them. Both ignore letter case, Danish
// letters included. Home and End go to the first and last product.
class ProductCatalogueWindow final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxNameLocatorLength = 40;

  // Opens the Firma, Printer and Produkt files, reads the sender record and
  // the Printer record, decides whether the label type can be chosen, reads
  // "IDAI90" and fills the list in ID order.
  // REQUIRES: all references outlive the window.
  ProductCatalogueWindow(records::RecordContext& context, CataloguePrinting& printing,
                         QWidget* parent = nullptr);
  ~ProductCatalogueWindow() override;

  dispatch::LabelType labelType() const { return labelType_; }
  ProductListModel& model() const { return *model_; }
  QTableView& list() const { return *list_; }
  // The locator text typed so far on "Navn".
  QString nameLocator() const { return nameLocator_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void BuildControls();
  void ChooseSortTab(int tab);
  void LocateTyped(const QString& typed);
  void SelectRow(std::optional<int> row);
  std::optional<int> CurrentRow() const;
  // Reads the list again around the highlighted product.
  void RefreshList();
  // The label-type option is offered only for the 4-inch ZPL format at 8
  // dots/mm; for any other format of the Printer record it is hidden and the
  // label type is "Palle" again (so a mixed-pallet choice made for the
  // 4-inch labels never opens the mixed-pallet window for another format).
  // Applied at open and whenever the window becomes active again, from the
  // record as stored then.
  void ApplyLabelTypeRule();
  // The window refresh: the AI90 text follows the highlighted product.
  void RefreshControls();
  void OpenForm(FormRequest request);
  // Loads the highlighted product into the context's Produkt buffer: from the
  // file (`reload`) or as the list shows it. False when none is highlighted
  // or it has gone.
  bool LoadHighlighted(bool reload);
  void OpenPrintWindow(bool reload);
  void PrintDirectly();

  records::RecordContext& context_;
  CataloguePrinting& printing_;
  ProductListModel* model_ = nullptr;
  QTableView* list_ = nullptr;
  QTabBar* sortTabs_ = nullptr;
  QLabel* locatorLabel_ = nullptr;
  QLineEdit* ai90Entry_ = nullptr;
  QGroupBox* labelTypeGroup_ = nullptr;
  QButtonGroup* labelTypeButtons_ = nullptr;
  dispatch::LabelType labelType_ = dispatch::LabelType::kPallet;
  bool idToAi90_ = false;
  QString nameLocator_;
};

}  // namespace paltrix::app
