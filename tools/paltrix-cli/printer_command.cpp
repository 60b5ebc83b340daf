#include <fmt/format.h>

#include <map>
#include <memory>
#include <optional>

#include "app/dispatch/label_format.h"
#include "app/records/printer.h"
#include "framework/console.h"
#include "framework/text/windows1252.h"
#include "output/cups_spooler.h"
#include "output/raw_printer.h"
#include "tools/paltrix-cli/choice_option.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/cli_session.h"
#include "tools/paltrix-cli/commands.h"
#include "tools/paltrix-cli/field_input.h"
#include "tools/paltrix-cli/number_option.h"
#include "tools/paltrix-cli/printer_setup.h"
#include "tools/paltrix-cli/wait_notice.h"

namespace paltrix::cli {
namespace {

namespace printer = records::printer;
using dispatch::LabelFormat;

struct PrinterOptions {
  std::optional<LabelFormat> format;
  std::optional<std::int64_t> dots, darkness, labelsPerPallet, topMargin, leftMargin, wait,
      connectTimeout, writeTimeout;
  std::optional<std::string> speed, printerName;

  bool changesIni() const { return printerName || topMargin || leftMargin || wait; }
};

// The print rates the settings window offers.
const std::vector<std::string> kSpeeds = {"2", "3",      "4",    "5",         "6",
                                          "8", "NORMAL", "HIGH", "ULTRA HIGH"};

const std::map<std::string, LabelFormat> kFormatNames = {
    {"zpl4", LabelFormat::kZpl4Inch},     {"zpl6", LabelFormat::kZpl6Inch},
    {"standard", LabelFormat::kStandard}, {"limited", LabelFormat::kLimited},
    {"mixed", LabelFormat::kMixed},
};

void SetTimeouts(const PrinterOptions& options, settings::PrinterSettings& ini,
                 const std::filesystem::path& iniPath) {
  if (!options.connectTimeout && !options.writeTimeout) return;
  if (options.connectTimeout) ini.connectTimeoutSeconds = static_cast<int>(*options.connectTimeout);
  if (options.writeTimeout) ini.writeTimeoutSeconds = static_cast<int>(*options.writeTimeout);
  Check(settings::WritePrinterTimeouts(iniPath, ini), "cannot write the settings INI file");
}

void SetPrinter(const PrinterOptions& options) {
  std::optional<std::string> speed, printerName;
  if (options.speed) speed = RecordText("--speed", *options.speed, printer::SPEED.size);
  if (options.printerName) {
    printerName = RecordText("--printer", *options.printerName, settings::kMaxPrinterNameLength);
  }

  CliSession session;
  PrinterSetup setup = LoadPrinterSetup(session.errors());
  const fields::Image image = setup.record.image();
  if (options.format) {
    fields::WriteText(image, printer::PRINTER, dispatch::StoredName(*options.format));
  }
  if (options.dots)
    fields::WriteLong(image, printer::DOTS, static_cast<std::int32_t>(*options.dots));
  if (options.darkness) {
    fields::WriteShort(image, printer::KT, static_cast<std::int16_t>(*options.darkness));
  }
  if (options.labelsPerPallet) {
    fields::WriteByte(image, printer::ANTALDETLAB,
                      static_cast<std::uint8_t>(*options.labelsPerPallet));
  }
  if (speed) fields::WriteText(image, printer::SPEED, *speed);
  Check(records::SavePrinterRecord(setup.record, session.errors()),
        "cannot store the printer settings");

  SetTimeouts(options, setup.settings, setup.settingsIniPath);
  if (!options.changesIni()) return;
  settings::PrinterSettings& ini = setup.settings;
  if (printerName) ini.printerName = *printerName;
  if (options.topMargin) ini.topOffset = static_cast<int>(*options.topMargin);
  if (options.leftMargin) ini.leftOffset = static_cast<int>(*options.leftMargin);
  if (options.wait) ini.waitSeconds = static_cast<int>(*options.wait);
  Check(settings::WriteWindowPrinterSettings(setup.settingsIniPath, ini),
        "cannot write the settings INI file");
}

void ShowPrinter() {
  CliSession session;
  const PrinterSetup setup = LoadPrinterSetup(session.errors());
  const fields::ConstImage image = setup.record.image();
  console::WriteOut(fmt::format("Format:             {}\n", Utf8(printer::PRINTER, image)));
  console::WriteOut(
      fmt::format("Dots per mm:        {}\n", fields::ReadLong(image, printer::DOTS)));
  console::WriteOut(fmt::format("Speed:              {}\n", Utf8(printer::SPEED, image)));
  console::WriteOut(fmt::format("Darkness:           {}\n", fields::ReadShort(image, printer::KT)));
  console::WriteOut(
      fmt::format("Labels per pallet:  {}\n", fields::ReadByte(image, printer::ANTALDETLAB)));
  console::WriteOut(
      fmt::format("Printer:            {}\n", text::ToUtf8(setup.settings.printerName)));
  console::WriteOut(fmt::format("Top offset:         {}\n", setup.settings.topOffset));
  console::WriteOut(fmt::format("Left offset:        {}\n", setup.settings.leftOffset));
  console::WriteOut(fmt::format("Wait after pallet:  {} s\n", setup.settings.waitSeconds));
  console::WriteOut(
      fmt::format("Connect timeout:    {} s\n", setup.settings.connectTimeoutSeconds));
  console::WriteOut(fmt::format("Write timeout:      {} s\n", setup.settings.writeTimeoutSeconds));
  console::WriteOut(fmt::format("Settings INI file:  {}\n", setup.settingsIniPath.string()));
}

void ListPrinters() {
  CliSession session;
  const PrinterSetup setup = LoadPrinterSetup(session.errors());
  WaitNotice notice;
  output::RawPrinter rawPrinter(output::SystemSpooler());
  rawPrinter.SetTimeouts(PrinterTimeoutsOf(setup.settings), notice.Callback());
  output::PrinterList list;
  const int defaultRow = rawPrinter.FillPrinterQueue(list);
  notice.Clear();
  if (defaultRow == 0)
    throw Failed(fmt::format("no printers were found: {}", rawPrinter.lastError()));
  // Row 1 also stands for "no default recognised".
  const bool defaultKnown = !rawPrinter.defaultPrinter().empty();
  for (std::size_t row = 0; row < list.size(); ++row) {
    const bool isDefault = defaultKnown && static_cast<int>(row) + 1 == defaultRow;
    console::WriteOut(fmt::format("{} {}\n", isDefault ? '*' : ' ', list[row].SHOWNAME));
  }
}

}  // namespace

void AddPrinterCommands(CLI::App& app) {
  CLI::App* printerCommand = app.add_subcommand("printer", "Label format and printer settings");
  printerCommand->require_subcommand(1);

  auto options = std::make_shared<PrinterOptions>();
  CLI::App* set = printerCommand->add_subcommand("set", "Change the given printer settings");
  AddChoiceOption(*set, "--format", kFormatNames, options->format, "Label format");
  AddNumberChoice(*set, "--dots", options->dots, {8, 12}, "Printer resolution in dots per mm");
  set->add_option("--speed", options->speed, "Print rate sent as ^PR")
      ->transform(CLI::IsMember(kSpeeds, CLI::ignore_case));
  AddNumberOption(*set, "--darkness", options->darkness, -30, 30, "Darkness sent as ^MD");
  AddNumberOption(*set, "--labels-per-pallet", options->labelsPerPallet, 0, 255,
                  "Default labels per pallet");
  set->add_option("--printer", options->printerName,
                  "Printer that gets the label streams: a CUPS queue, socket://host:port or "
                  "file:///path");
  AddNumberOption(*set, "--connect-timeout", options->connectTimeout, 1,
                  settings::kLongestPrinterTimeoutSeconds,
                  "Seconds to reach the printer or the print spooler (INI \"ConnectTimeout\", "
                  "default 10)");
  AddNumberOption(*set, "--write-timeout", options->writeTimeout, 1,
                  settings::kLongestPrinterTimeoutSeconds,
                  "Seconds the printer may take no byte of a label (INI \"WriteTimeout\", "
                  "default 30); a label that misses a timeout counts as not printed");
  AddNumberOption(*set, "--tmarg", options->topMargin, -9999, 9999, "Label top offset (^LT)");
  AddNumberOption(*set, "--lmarg", options->leftMargin, -9999, 9999, "Label home x offset (^LH)");
  AddNumberOption(*set, "--wait", options->wait, 0, 3600,
                  "Seconds to pause after each 6-inch pallet");
  set->callback([options] { SetPrinter(*options); });

  printerCommand->add_subcommand("show", "Show the printer settings")->callback(ShowPrinter);
  printerCommand->add_subcommand("list", "List the printers; the default is marked with *")
      ->callback(ListPrinters);
}

}  // namespace paltrix::cli
