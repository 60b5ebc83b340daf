#include "app/ui/print/label_run.h"

#include <QCoreApplication>

#include "app/a5/ui/queued_label_printing.h"
#include "app/dispatch/raw_printer_output.h"
#include "app/gs1/sscc_allocator.h"
#include "app/records/firma.h"
#include "app/records/printer.h"
#include "app/records/printer_file.h"
#include "app/records/produkt.h"
#include "app/ui/qt_clipboard_sink.h"
#include "framework/text/windows1252.h"
#include "output/raw_printer.h"

namespace paltrix::app::print {

// The services of one run on the worker thread: the Firma file's SSCC
// allocator and the raw printer, each call announced to the window first.
class LabelRun::ProgressServices final : public gs1::SsccAllocator,
                                         public labels::LabelOutput,
                                         public labels::ClipboardSink {
 public:
  ProgressServices(LabelRun& run, storage::KeyedFile& firmaFile, int total)
      : run_(run),
        allocator_(firmaFile, run.records_.Buffer(records::firma::kSchema)),
        rawPrinter_(run.spooler_, run.clock_),
        output_(rawPrinter_),
        total_(total) {}

  Result<std::string> Allocate() override {
    Result<std::string> sscc = allocator_.Allocate();
    lastSscc_ = sscc.ok() ? *sscc : std::string();
    return sscc;
  }

  std::uint8_t PrintRaw(std::string_view printerName, std::string_view stream) override {
    ++sending_;
    QMetaObject::invokeMethod(
        &run_,
        [run = &run_, number = sending_, total = total_, sscc = QString::fromStdString(lastSscc_)] {
          emit run->palletSending(number, total, sscc);
        },
        Qt::QueuedConnection);
    return output_.PrintRaw(printerName, stream);
  }

  void CopyText(std::string_view stream) override {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [copy = std::string(stream)] { QtClipboardSink().CopyText(copy); }, Qt::QueuedConnection);
  }

  labels::LabelServices services() { return {*this, *this, sleeper_, this}; }
  const std::vector<std::string>& failureReasons() const { return output_.failureReasons(); }

 private:
  LabelRun& run_;
  gs1::FirmaSsccAllocator allocator_;
  output::RawPrinter rawPrinter_;
  dispatch::RawPrinterOutput output_;
  labels::ThreadSleeper sleeper_;
  int total_;
  int sending_ = 0;
  std::string lastSscc_;
};

LabelRun::LabelRun(records::RecordContext& records, const Clock& clock, output::Spooler& spooler,
                   errors::ErrorManager& errors, QObject* parent)
    : QObject(parent), records_(records), clock_(clock), spooler_(spooler), errors_(errors) {}

LabelRun::~LabelRun() {
  if (worker_.joinable()) worker_.join();
}

Status LabelRun::Start(const dispatch::PrintJob& job,
                       const settings::PrinterSettings& printerSettings,
                       const PageWindows& pageWindows) {
  Result<storage::KeyedFile*> firmaFile = records_.File(records::firma::kSchema);
  if (!firmaFile.ok()) return firmaFile.status();
  // The sender as stored now: another station may have changed it since the
  // window opened. An empty file is left to the run, which refuses it.
  if (Status read = records_.ReadFirma();
      !read.ok() && read.code() != ErrorCode::kRecordNotAvailable) {
    return read;
  }

  outcome_.reset();
  failureReasons_.clear();
  running_ = true;
  // The EAN-13 item label is one stream in all; the others one per pallet.
  const fields::ConstImage printer = records::PrinterRecord::Process().image();
  const dispatch::LabelProcedure procedure = dispatch::ChooseLabelProcedure(
      job.variant, dispatch::ParseLabelFormat(fields::ReadText(printer, records::printer::PRINTER)),
      fields::ReadLong(printer, records::printer::DOTS), job.labelType);

  if (dispatch::A5ReportOf(procedure)) {
    ProgressServices progress(*this, **firmaFile, job.counts.pallets);
    a5::ui::WindowReportPrinting reports(
        {records_, text::ToUtf8(printerSettings.printerName), clock_.Today(), errors_},
        pageWindows.window, pageWindows.previewFirst);
    const dispatch::A5Services pages{records_, reports, errors_};
    outcome_ = std::make_unique<Result<dispatch::PrintOutcome>>(dispatch::DispatchLabelFormat(
        job, Buffers(), printerSettings, progress.services(), clock_, &pages));
    QMetaObject::invokeMethod(this, &LabelRun::Finish, Qt::QueuedConnection);
    return Status::Ok();
  }

  const int streams = procedure == dispatch::LabelProcedure::kEanItemLabel ? 1 : job.counts.pallets;
  worker_ = std::thread([this, job, printerSettings, file = *firmaFile, streams] {
    ProgressServices progress(*this, *file, streams);
    auto outcome = std::make_unique<Result<dispatch::PrintOutcome>>(dispatch::DispatchLabelFormat(
        job, Buffers(), printerSettings, progress.services(), clock_));
    std::vector<std::string> reasons = progress.failureReasons();
    QMetaObject::invokeMethod(
        this,
        [this, outcome = std::shared_ptr(std::move(outcome)), reasons = std::move(reasons)] {
          outcome_ = std::make_unique<Result<dispatch::PrintOutcome>>(std::move(*outcome));
          failureReasons_ = reasons;
          Finish();
        },
        Qt::QueuedConnection);
  });
  return Status::Ok();
}

dispatch::PrintBuffers LabelRun::Buffers() {
  return {records_.Buffer(records::produkt::kSchema).image,
          records_.Buffer(records::firma::kSchema).image,
          records::PrinterRecord::Process().image()};
}

void LabelRun::Finish() {
  if (worker_.joinable()) worker_.join();
  running_ = false;
  emit finished();
}

}  // namespace paltrix::app::print
