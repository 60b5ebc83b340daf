#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "app/records/file_registry.h"
#include "app/records/firma.h"
#include "app/records/printer.h"
#include "app/records/printer_file.h"
#include "app/records/produkt.h"
#include "app/records/record_context.h"
#include "app/ui/catalogue_printing.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"
#include "framework/fields/record_codec.h"
#include "tests/support/temp_directory.h"

namespace paltrix::testing {

// A station's working folder with its Data folder, the record files' managers
// and a record context, for tests that drive the windows.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    errors_.Init();
    std::filesystem::create_directory(folder_ / "Data");
    records::PrinterRecord::Process() = records::PrinterRecord();
    records::PrinterRecord::Process().Prime();
  }

  // Adds a product from another record context, as another station would.
  void AddProduct(const std::string& id, const std::string& name, const std::string& gtin = {}) {
    storage::Record record = storage::Record::Blank(records::produkt::kSchema);
    fields::WriteText(record.image, records::produkt::PRODUKTID, id);
    fields::WriteText(record.image, records::produkt::PRODUKTNAVN, name);
    fields::WriteText(record.image, records::produkt::EANNR, gtin);
    ASSERT_TRUE(station_.File(records::produkt::kSchema).value()->Add(record).ok()) << id;
  }

  // Stores the Printer record with a label format and resolution.
  void SetPrinter(std::string_view format, std::int32_t dots, std::uint8_t labelsPerPallet = 1) {
    records::PrinterRecord& printer = records::PrinterRecord::Process();
    fields::WriteText(printer.image(), records::printer::PRINTER, format);
    fields::WriteLong(printer.image(), records::printer::DOTS, dots);
    fields::WriteByte(printer.image(), records::printer::ANTALDETLAB, labelsPerPallet);
    ASSERT_TRUE(records::SavePrinterRecord(printer, errors_).ok());
  }

  void SetSender(std::int32_t prefix, std::int32_t serial, std::int32_t pallets = 1) {
    storage::Record& firma = station_.Buffer(records::firma::kSchema);
    firma = storage::Record::Blank(records::firma::kSchema);
    fields::WriteText(firma.image, records::firma::NAVN, "Afsender A/S");
    fields::WriteLong(firma.image, records::firma::SSCCNR, prefix);
    fields::WriteLong(firma.image, records::firma::SS, serial);
    fields::WriteLong(firma.image, records::firma::ANTALPALLER, pallets);
    ASSERT_TRUE(station_.WriteFirma(records::SerialChange::Set(serial)).ok());
  }

  // The sender record as stored now.
  storage::Record StoredSender() {
    records::RecordContext reader(files_);
    EXPECT_TRUE(reader.ReadFirma().ok());
    return reader.Buffer(records::firma::kSchema);
  }

  static void Activate(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  TempDirectory folder_;
  ScopedWorkingDirectory workingDirectory_{folder_.path()};
  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errors_{presenter_, terminator_};
  records::FileRegistry files_{errors_};
  records::RecordContext station_{files_};  // another station's context
  records::RecordContext context_{files_};  // the windows' context
};

// The window's child control `name`.
template <typename Widget = QLineEdit>
Widget& Control(QWidget& window, const char* name) {
  auto* widget = window.findChild<Widget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return *widget;
}

// Records what the catalogue asked to print.
class RecordingPrinting final : public app::CataloguePrinting {
 public:
  struct Call {
    bool direct = false;
    dispatch::LabelType type = dispatch::LabelType::kPallet;
    QString ai90Text;
    std::string productId;
  };

  void OpenPrintWindow(QWidget&, records::RecordContext& context, dispatch::LabelType type,
                       const QString& ai90Text) override {
    Record(false, context, type, ai90Text);
  }
  void PrintDirect(QWidget&, records::RecordContext& context, dispatch::LabelType type,
                   const QString& ai90Text) override {
    Record(true, context, type, ai90Text);
  }

  std::vector<Call> calls;

 private:
  void Record(bool direct, records::RecordContext& context, dispatch::LabelType type,
              const QString& ai90Text) {
    calls.push_back({direct, type, ai90Text,
                     fields::ReadText(context.Buffer(records::produkt::kSchema).image,
                                      records::produkt::PRODUKTID)});
  }
};

}  // namespace paltrix::testing
