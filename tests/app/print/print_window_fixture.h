#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/records/file_registry.h"
#include "app/records/firma.h"
#include "app/records/produkt.h"
#include "app/records/record_context.h"
#include "app/ui/print/print_windows.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::app::print::testing {

namespace fs = std::filesystem;

// A station in a fresh folder, set up through paltrix-cli: company "Fisk
// A/S" (prefix 57012345, serial 100, 3 pallets per run), 2 labels per pallet
// to the file printer "labels.zpl", product "0042" (shelf life 10 days, 40
// cases, GTIN 05701234567899) and "0043" without a GTIN. The windows run in
// this process with their own record context, a scripted presenter for the
// error manager's boxes and a clock fixed at the time the test started.
class PrintWindowTest : public ::testing::Test {
 protected:
  PrintWindowTest() : workingDirectory_(folder_.path()) {
    fs::create_directory(folder_ / "Data");
    errors_.Init();
    Cli({"company", "set", "--name", "Fisk A/S", "--prefix", "57012345", "--serial", "100",
         "--pallets", "3"});
    Cli({"printer", "set", "--format", "zpl4", "--dots", "8", "--labels-per-pallet", "2",
         "--printer", PrinterUrl("labels.zpl")});
    Cli({"product", "add", "--id", "0042", "--name", "Torsk", "--gtin", "05701234567899",
         "--shelf-life", "10", "--count", "40", "--order-no", "A1"});
    Cli({"product", "add", "--id", "0043", "--name", "Sild", "--shelf-life", "5"});
    registry_ = std::make_unique<records::FileRegistry>(errors_);
    records_ = std::make_unique<records::RecordContext>(*registry_);
  }

  void Cli(const std::vector<std::string>& arguments) {
    const cli::testing::CliResult result = cli::testing::RunCli(folder_.path(), arguments);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
  }

  std::string PrinterUrl(const std::string& name) const {
    return "file://" + (folder_ / name).string();
  }

  // Adds lines to the settings INI file after what the command line wrote.
  void AppendToSettingsIni(const std::string& lines) {
    const fs::path ini = folder_ / "splab.ini";
    paltrix::testing::WriteFileText(ini, paltrix::testing::ReadFileText(ini) + lines);
  }

  // Loads the product into the context's Produkt buffer, as the catalogue does.
  void LoadProduct(const std::string& id) {
    Result<storage::KeyedFile*> file = records_->File(records::produkt::kSchema);
    ASSERT_TRUE(file.ok());
    storage::Record probe = storage::Record::Blank(records::produkt::kSchema);
    fields::WriteText(probe.image, records::produkt::PRODUKTID, id);
    ASSERT_TRUE(
        (*file)
            ->Fetch(records::produkt::kIDKey, probe, records_->Buffer(records::produkt::kSchema))
            .ok());
  }

  std::vector<char> StoredProduct(const std::string& id) {
    LoadProduct(id);
    return records_->Buffer(records::produkt::kSchema).image;
  }

  // Sets the company's serial back to where the station started, so that a
  // second run prints the same SSCCs as the first.
  void ResetSerial() { Cli({"company", "set", "--serial", "100", "--force"}); }

  std::string Labels(const std::string& name = "labels.zpl") const {
    return paltrix::testing::ReadFileText(folder_ / name);
  }

  PrintServices services() { return {&clock_, &errors_, nullptr}; }

  static bool WaitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    return QTest::qWaitFor(condition, milliseconds);
  }

  paltrix::testing::TempDirectory folder_;
  paltrix::testing::ScopedWorkingDirectory workingDirectory_;
  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errors_{presenter_, terminator_};
  std::unique_ptr<records::FileRegistry> registry_;
  std::unique_ptr<records::RecordContext> records_;
  FixedClock clock_{SystemClock().Now()};
};

// The names of the widgets that take the focus, from the focused one on,
// pressing Tab `count` times.
inline std::vector<std::string> TabWalk(QWidget& window, int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    QWidget* focus = QApplication::focusWidget();
    names.push_back(focus != nullptr ? focus->objectName().toStdString() : std::string("(none)"));
    QTest::keyClick(focus != nullptr ? focus : &window, Qt::Key_Tab);
  }
  return names;
}

// The window's child of type T named `name`.
template <typename T>
T& Child(QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) throw std::runtime_error(std::string("no widget ") + name);
  return *child;
}

}  // namespace paltrix::app::print::testing
