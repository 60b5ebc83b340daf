// convert: upgrades the product file "Data\PRODUKT.dat" under the working
// directory from the old layout to the current one. It asks nothing; with a
// display it shows a progress window and any error in a message box, without
// one the same texts go to standard error.

#include <fmt/format.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/settings/database_setting.h"
#include "convert/product_conversion.h"
#include "convert/text_progress.h"
#include "convert/ui/progress_window.h"

namespace {

using paltrix::convert::ConversionOutcome;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// {0} is the name the program was started under (installed: paltrix-convert).
constexpr const char* kHelp =
    "Usage: {0}\n"
    "Upgrade the product file Data\\PRODUKT.dat in the current directory from the old\n"
    "214-byte record layout to the current one (which adds \"order number in the barcode\",\n"
    "set to 0 for every product).\n"
    "\n"
    "The new file is written beside the old one as Data\\PRODUKT2.dat, its keys are built,\n"
    "and only then does it replace Data\\PRODUKT.dat in one step: a failure or a crash\n"
    "leaves the product file as it was. A file already in the current layout is left\n"
    "alone.\n"
    "\n"
    "With a display the progress is shown in a window and errors in a message box;\n"
    "without one (no DISPLAY or WAYLAND_DISPLAY, or Qt's offscreen platform) the same\n"
    "texts go to standard error.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "  --version      show the version and exit\n"
    "\n"
    "A station whose record files are on a PostgreSQL database (key Connection of\n"
    "section [Database] in the settings INI file, or PALTRIX_DATABASE) also gets the\n"
    "converted products in the database's product file, in place of all products it\n"
    "held, in one transaction before Data\\PRODUKT.dat is replaced: a failure leaves\n"
    "both as they were. A second run finds Data\\PRODUKT.dat current and changes nothing.\n"
    "\n"
    "Exit status: 0 converted or already current; 1 the conversion failed (the product\n"
    "file is unchanged) or the database setting could not be read; 2 wrong arguments.\n";

constexpr const char* kAlreadyCurrent =
    "Data\\PRODUKT.dat is already in the current layout; nothing was changed.";

// Converts into wherever this station keeps its record files. A settings
// file that cannot be read stops the conversion before anything is changed:
// guessing the Data folder could convert the wrong catalogue.
paltrix::Result<ConversionOutcome> Convert(paltrix::convert::ConversionProgress& progress) {
  const std::filesystem::path workingDirectory = std::filesystem::current_path();
  const paltrix::Result<paltrix::storage::StorageTarget> target =
      paltrix::settings::ReadStorageTarget(workingDirectory);
  if (!target.ok()) {
    const paltrix::Status& failure = target.status();
    return paltrix::Status(failure.code(),
                           fmt::format("cannot read the database setting: {}", failure.message()),
                           failure.systemCode(), failure.systemText());
  }
  return paltrix::convert::ConvertProductFile(workingDirectory, *target, progress);
}

bool HasDisplay() {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::string_view platformName = platform != nullptr ? platform : "";
  if (platformName == "offscreen" || platformName == "minimal") return false;
  return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

int RunWithoutDisplay() {
  paltrix::convert::TextProgress progress(stderr);
  const paltrix::Result<ConversionOutcome> outcome = Convert(progress);
  if (!outcome.ok()) {
    fmt::print(stderr, "{}\n", paltrix::convert::ConversionErrorText(outcome.status()));
    return kExitFailed;
  }
  if (*outcome == ConversionOutcome::kAlreadyCurrent) fmt::print(stderr, "{}\n", kAlreadyCurrent);
  return kExitOk;
}

int RunWithWindow(int argc, char** argv) {
  QApplication application(argc, argv);
  paltrix::convert::ProgressWindow window;
  const paltrix::Result<ConversionOutcome> outcome = Convert(window);
  window.hide();
  if (!outcome.ok()) {
    paltrix::convert::MakeConversionMessage(
        QString::fromStdString(paltrix::convert::ConversionErrorText(outcome.status())),
        QMessageBox::Critical)
        ->exec();
    return kExitFailed;
  }
  if (*outcome == ConversionOutcome::kAlreadyCurrent) {
    paltrix::convert::MakeConversionMessage(QString::fromUtf8(kAlreadyCurrent),
                                            QMessageBox::Information)
        ->exec();
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    const std::string program = std::filesystem::path(argv[0]).filename().string();
    const std::string_view argument = argv[1];
    if (argc == 2 && (argument == "--help" || argument == "-h")) {
      fmt::print(kHelp, program);
      return kExitOk;
    }
    if (argc == 2 && argument == "--version") {
      fmt::print("{} {}\n", program, PALTRIX_VERSION);
      return kExitOk;
    }
    fmt::print(stderr, "{}: takes no arguments (try --help)\n", program);
    return kExitUsage;
  }
  return HasDisplay() ? RunWithWindow(argc, argv) : RunWithoutDisplay();
}
