#include "app/ui/print/print_session.h"

#include <fmt/format.h>

#include "app/records/firma.h"
#include "app/records/printer.h"
#include "app/records/printer_file.h"
#include "app/settings/settings_ini_name.h"
#include "app/ui/print/run_count_defaults.h"
#include "framework/text/windows1252.h"
#include "output/cups_spooler.h"

namespace paltrix::app::print {
namespace {

constexpr std::string_view kProblemTitle = "Udskrivning";

}  // namespace

PrintSession::PrintSession(records::RecordContext& records, const PrintServices& services,
                           QWidget* window)
    : QObject(window),
      records_(records),
      clock_(services.clock != nullptr ? *services.clock : SystemClock()),
      errors_(services.errors != nullptr ? *services.errors : errors::GlobalErrorManager()),
      run_(records, clock_,
           services.spooler != nullptr ? *services.spooler : output::SystemSpooler(), errors_,
           this),
      window_(window) {
  connect(&run_, &LabelRun::palletSending, this,
          [this](int number, int total, const QString& sscc) {
            QString text = QStringLiteral("Sender palle %1 af %2").arg(number).arg(total);
            if (!sscc.isEmpty()) text += QStringLiteral(" (SSCC %1)").arg(sscc);
            emit progress(text);
          });
  connect(&run_, &LabelRun::finished, this, [this] {
    ReportProblems();
    emit progress(QString());
    const Result<dispatch::PrintOutcome>& outcome = run_.outcome();
    if (done_) done_(outcome.ok() ? &outcome.value() : nullptr);
  });
}

void PrintSession::Open() {
  static_cast<void>(records_.ReadFirma());  // failures are reported; an empty file is no error
  static_cast<void>(records::LoadPrinterRecord(records::PrinterRecord::Process(), errors_));

  // The settings INI file only shapes the label; without it the defaults
  // apply, and the operator learns of it on the terminal, not in a box.
  Result<std::filesystem::path> path =
      settings::CurrentSettingsIniPath(std::filesystem::current_path());
  Result<settings::PrinterSettings> read = path.ok()
                                               ? settings::ReadPrinterSettings(*path)
                                               : Result<settings::PrinterSettings>(path.status());
  if (path.ok()) settingsIniPath_ = *path;
  if (read.ok()) {
    printerSettings_ = *read;
  } else {
    fmt::print(stderr, "Paltrix: the printer settings keep their defaults: {}\n",
               read.status().ToString());
  }
}

labels::RunCounts PrintSession::DefaultCounts() {
  if (std::optional<labels::RunCounts> set = RunCountDefaults::Process().Get()) return *set;
  const fields::ConstImage printer = records::PrinterRecord::Process().image();
  const fields::ConstImage firma = records_.Buffer(records::firma::kSchema).image;
  return {.pallets = fields::ReadLong(firma, records::firma::ANTALPALLER),
          .labelsPerPallet = fields::ReadByte(printer, records::printer::ANTALDETLAB)};
}

std::string PrintSession::StoredFormatName() const {
  return fields::ReadText(records::PrinterRecord::Process().image(), records::printer::PRINTER);
}

dispatch::LabelFormat PrintSession::Format() const {
  return dispatch::ParseLabelFormat(StoredFormatName());
}

bool PrintSession::PrintsPages() const {
  switch (Format()) {
    case dispatch::LabelFormat::kStandard:
    case dispatch::LabelFormat::kLimited:
    case dispatch::LabelFormat::kMixed:
      return true;
    default:
      return false;
  }
}

bool PrintSession::Print(const dispatch::PrintJob& job,
                         std::function<void(const dispatch::PrintOutcome*)> done,
                         bool previewFirst) {
  if (!records::SavePrinterRecord(records::PrinterRecord::Process(), errors_).ok()) return false;
  done_ = std::move(done);
  if (Status started = run_.Start(job, printerSettings_, {window_, previewFirst}); !started.ok()) {
    errors_.ShowMessage(started.ToString(), kProblemTitle, errors::MessageIcon::kExclamation,
                        errors::kButtonOk, errors::kButtonOk);
    return false;
  }
  return true;
}

void PrintSession::ReportProblems() {
  const std::string problems = DescribeRunProblems(run_.outcome(), run_.failureReasons());
  if (problems.empty()) return;
  errors_.ShowMessage(problems, kProblemTitle, errors::MessageIcon::kExclamation, errors::kButtonOk,
                      errors::kButtonOk);
}

QCheckBox* NewPreviewCheck(QWidget* parent) {
  auto* check = new QCheckBox(QStringLiteral("&Vis udskrift først"), parent);
  check->setObjectName(QStringLiteral("previewFirst"));
  return check;
}

std::string DescribeRunProblems(const Result<dispatch::PrintOutcome>& outcome,
                                const std::vector<std::string>& failureReasons) {
  if (!outcome.ok()) return outcome.status().message();
  const labels::LabelRunReport& report = outcome->report;
  const std::string printer = text::ToUtf8(report.printerName);
  std::string problems;
  for (std::size_t i = 0; i < report.streams.size(); ++i) {
    const labels::PrintedStream& stream = report.streams[i];
    if (stream.sent()) continue;
    const std::string label = stream.sscc.empty()
                                  ? fmt::format("Etiket {}", i + 1)
                                  : fmt::format("Etiketten med SSCC {}", stream.sscc);
    const std::string reason = i < failureReasons.size() ? failureReasons[i] : std::string();
    problems += fmt::format("{} nåede ikke printeren \"{}\"{}{}\n", label, printer,
                            reason.empty() ? "" : ": ", reason);
  }
  for (const a5::SkippedLabel& skipped : outcome->a5Pages.skipped) {
    problems += fmt::format("Etiketten med SSCC {} bliver stående i køen: {}\n", skipped.sscc,
                            skipped.reason.message());
  }
  for (const Status& stop : {report.status, outcome->a5Queue.status}) {
    if (!stop.ok()) problems += fmt::format("Udskriften stoppede: {}\n", stop.message());
  }
  if (!problems.empty()) problems.pop_back();
  return problems;
}

}  // namespace paltrix::app::print
