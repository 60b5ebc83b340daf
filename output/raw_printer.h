#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framework/clock.h"
#include "framework/result.h"
#include "output/printer_chooser.h"
#include "output/printer_list.h"
#include "output/result_codes.h"
#include "output/spooler.h"

namespace paltrix::output {

// Sends label streams to a printer unchanged and lets the operator pick a
// printer from the spooler's list.
//
// A printer name is a spooler queue name, or, without the spooler:
//   socket://host[:port]  a network printer's raw port (9100 when omitted):
//                         one connection per stream;
//   file:///path          appends each stream to the file (dry runs).
//
// Printer names taken and given by PrintRaw, SelectPrinter and
// OpenNamedPrinter are the program's text (Windows-1252), as the settings file
// holds them; they reach the spooler and the file system as UTF-8. The list
// rows (PrinterList) hold the spooler's own UTF-8 names, for display.
//
// Every failure of PrintRaw is logged to "errprt.log" in the working
// directory with date and time, and described by lastError(), because the
// label procedures that print do not look at the result.
//
// Not thread-safe; each procedure that prints owns its own instance.
class RawPrinter {
 public:
  static constexpr std::size_t kMaxPrinterNameLength = 127;
  static constexpr std::size_t kMaxListTextLength = 255;
  static constexpr std::string_view kDocumentName = "Direct";
  static constexpr std::string_view kLogFileName = "errprt.log";
  static constexpr std::string_view kOpenFailureText =
      " Error opening the printer - Printer Busy - ";
  static constexpr std::string_view kStartFailureText = " Error starting the print job - ";
  static constexpr std::string_view kWriteFailureText = " Error writing to the printer - ";

  // The spooler, clock and chooser must outlive the printer. Without a
  // chooser, SelectPrinter behaves as if the window was closed.
  explicit RawPrinter(Spooler& spooler, const Clock& clock = SystemClock(),
                      PrinterChooser* chooser = nullptr);

  // Creates the empty printer list.
  void Init();
  // Drops the printer list.
  void Kill();

  // Sends one carriage return (13) and then data, unaltered, as one raw
  // document named "Direct" to the printer printerName (at most 127
  // characters of it are used).
  // Returns kPrinterDone when every byte was handed over; otherwise
  // kPrinterFailed, a line in "errprt.log" and the reason in lastError().
  std::uint8_t PrintRaw(std::string_view printerName, std::string_view data);

  // Shows the printer list through the chooser with the default printer
  // preselected. On a choice copies its PRINTERNAME into destination, cut to
  // maxLength - 1 bytes (room for a terminator), and returns kPrinterDone.
  // Returns kPrinterNoChoice when the choice was abandoned, kPrinterFailed
  // when the chosen row does not exist or its name has characters that
  // Windows-1252 cannot hold, and kPrinterDone without asking when there is
  // no printer at all; destination is then unchanged.
  std::uint8_t SelectPrinter(std::size_t maxLength, std::string& destination);

  // Refills list from the spooler and returns the 1-based row of the default
  // printer, 1 when no default was recognised, and 0 (with an empty list)
  // when there is no printer or the spooler could not be asked.
  int FillPrinterQueue(PrinterList& list);

  // Remembers the spooler's default printer name in upper case. Returns
  // kPrinterDone when the spooler names a default, else kPrinterFailed and
  // forgets the name.
  std::uint8_t ReadDefaultPrinter();

  // True when printerName is the remembered default printer, regardless of
  // letter case.
  bool IsDefaultPrinter(std::string_view printerName) const;

  // The limits of every printer route from now on (the spooler's too), and
  // whom to tell while a route waits. A label that cannot be handed over
  // within them counts as not printed (kPrinterFailed, "errprt.log").
  void SetTimeouts(const PrinterTimeouts& timeouts, WaitProgress progress = {});

  // Opens a socket:// or file:// printer directly, anything else through the
  // spooler.
  Result<std::unique_ptr<PrinterHandle>> OpenNamedPrinter(std::string_view printerName);

  // The list of the last enumeration; nullptr before Init and after Kill.
  const PrinterList* printerQueue() const { return printerQueue_ ? &*printerQueue_ : nullptr; }
  // The name PrintRaw opened last.
  const std::string& lastPrinterUsed() const { return lastPrinterUsed_; }
  // The default printer in upper case; empty when unknown.
  const std::string& defaultPrinter() const { return defaultPrinterNt_; }
  // Why the last PrintRaw failed, why the last FillPrinterQueue (and so
  // SelectPrinter) found no printer, or why SelectPrinter could not take the
  // chosen name; empty after a success.
  const std::string& lastError() const { return lastError_; }

 private:
  std::uint8_t Fail(std::string_view logText, std::string_view printerName, std::string reason);
  void RememberDefault(const std::vector<SpoolerDestination>& destinations);

  Spooler& spooler_;
  const Clock& clock_;
  PrinterChooser* chooser_;
  std::optional<PrinterList> printerQueue_;
  std::string lastPrinterUsed_;
  std::string defaultPrinterNt_;
  std::string lastError_;
  PrinterTimeouts timeouts_;
  WaitProgress progress_;
};

}  // namespace paltrix::output
