#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "framework/result.h"
#include "framework/status.h"

// The printer keys of the settings INI file (section "Printer"). Texts are
// the file's bytes (Windows-1252). Missing files and keys are not errors:
// every key has its default. Numbers are hand-edited text, so a value that is
// not a whole number is read as the key's default rather than guessed at.
namespace paltrix::settings {

inline constexpr std::string_view kPrinterSection = "Printer";

inline constexpr std::size_t kMaxPrinterNameLength = 79;
inline constexpr int kLongestPrinterTimeoutSeconds = 3600;
inline constexpr std::size_t kMaxMixedPalletCaptionLength = 39;
// The mixed-pallet label prints at most this much of the caption.
inline constexpr std::size_t kMaxMixedPalletLabelCaptionLength = 19;

struct PrinterSettings {
  std::string printerName;  // "Printer": the queue that gets the ZPL stream
  int topOffset = 0;        // "TMarg": sent as ^LT
  int leftOffset = 0;       // "LMarg": sent as ^LH<value>,0
  int waitSeconds = 0;      // "WAIT": pause after each pallet; 0 none
  int ai90Flag = 0;         // "IDAI90": default of the "AI90" check box
  int wideNarrow = 0;       // "WideNarrow": layout of the mixed-pallet label
  std::string mixedPalletCaption = "Mix Cont. Nr";  // "NETAI90"
  std::string mixNumberPicture = "@n01";            // "MixPicture"
  std::string flowerOrderNumberPicture = "@n07";    // "BlOPicture"
  // How long a printer route may wait, in seconds (1 to 3600; other values
  // read as the default): "ConnectTimeout" to reach the printer or spooler,
  // "WriteTimeout" for it to take the label. A label that misses them counts
  // as not printed.
  int connectTimeoutSeconds = 10;
  int writeTimeoutSeconds = 30;

  friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;
};

// The caption as the mixed-pallet label prints it: at most 19 characters.
std::string MixedPalletLabelCaption(const PrinterSettings& settings);

// Reads every key of section "Printer" from the settings INI file at `path`
// (missing keys: their defaults); texts longer than their limit are cut.
// Fails only when the file exists but cannot be read.
Result<PrinterSettings> ReadPrinterSettings(const std::filesystem::path& path);

// Writes the six keys of the settings window ("Printer", "TMarg", "LMarg",
// "IDAI90", "WideNarrow", "WAIT") in one update of the file, keeping every
// other key and comment; creates the file when missing. Refuses
// (kInvalidValue, file untouched) a printer name longer than 79 characters or
// holding a line break.
Status WriteWindowPrinterSettings(const std::filesystem::path& path,
                                  const PrinterSettings& settings);

// Writes "ConnectTimeout" and "WriteTimeout", keeping everything else.
// Refuses (kInvalidValue, file untouched) values outside 1 to 3600.
Status WritePrinterTimeouts(const std::filesystem::path& path, const PrinterSettings& settings);

// Writes "NETAI90" alone, as the mixed-pallet print window does when its
// caption is accepted. Refuses (kInvalidValue) a caption longer than 39
// characters or holding a line break.
Status WriteMixedPalletCaption(const std::filesystem::path& path, std::string_view caption);

}  // namespace paltrix::settings
