#include "app/settings/printer_settings.h"

#include "framework/ini/ini_file.h"

namespace paltrix::settings {
namespace {

constexpr std::string_view kPrinterKey = "Printer";
constexpr std::string_view kTopOffsetKey = "TMarg";
constexpr std::string_view kLeftOffsetKey = "LMarg";
constexpr std::string_view kWaitKey = "WAIT";
constexpr std::string_view kAi90Key = "IDAI90";
constexpr std::string_view kWideNarrowKey = "WideNarrow";
constexpr std::string_view kCaptionKey = "NETAI90";
constexpr std::string_view kMixPictureKey = "MixPicture";
constexpr std::string_view kFlowerOrderPictureKey = "BlOPicture";
constexpr std::string_view kConnectTimeoutKey = "ConnectTimeout";
constexpr std::string_view kWriteTimeoutKey = "WriteTimeout";

bool IsPrinterTimeout(int seconds) {
  return seconds >= 1 && seconds <= kLongestPrinterTimeoutSeconds;
}

std::string Cut(std::string text, std::size_t limit) {
  if (text.size() > limit) text.resize(limit);
  return text;
}

Status CheckLength(std::string_view what, std::string_view value, std::size_t limit) {
  if (value.size() <= limit) return Status::Ok();
  return Status(ErrorCode::kInvalidValue,
                std::string(what) + " is longer than " + std::to_string(limit) + " characters");
}

// Applies `change` to the file at `path` and writes it; nothing is written
// when the change is refused.
template <typename Change>
Status UpdateFile(const std::filesystem::path& path, Change change) {
  Result<ini::IniFile> file = ini::IniFile::Load(path);
  if (!file.ok()) return file.status();
  if (Status changed = change(*file); !changed.ok()) return changed;
  return file->Save();
}

}  // namespace

std::string MixedPalletLabelCaption(const PrinterSettings& settings) {
  return Cut(settings.mixedPalletCaption, kMaxMixedPalletLabelCaptionLength);
}

Result<PrinterSettings> ReadPrinterSettings(const std::filesystem::path& path) {
  Result<ini::IniFile> loaded = ini::IniFile::Load(path);
  if (!loaded.ok()) return loaded.status();
  const ini::IniFile& file = *loaded;
  const PrinterSettings defaults;
  auto text = [&](std::string_view key, const std::string& fallback) {
    return file.GetString(kPrinterSection, key, fallback);
  };
  auto number = [&](std::string_view key, int fallback) {
    return file.GetInteger(kPrinterSection, key, fallback);
  };

  PrinterSettings settings;
  settings.printerName = Cut(text(kPrinterKey, defaults.printerName), kMaxPrinterNameLength);
  settings.topOffset = number(kTopOffsetKey, defaults.topOffset);
  settings.leftOffset = number(kLeftOffsetKey, defaults.leftOffset);
  settings.waitSeconds = number(kWaitKey, defaults.waitSeconds);
  settings.ai90Flag = number(kAi90Key, defaults.ai90Flag);
  settings.wideNarrow = number(kWideNarrowKey, defaults.wideNarrow);
  settings.mixedPalletCaption =
      Cut(text(kCaptionKey, defaults.mixedPalletCaption), kMaxMixedPalletCaptionLength);
  settings.mixNumberPicture = text(kMixPictureKey, defaults.mixNumberPicture);
  settings.flowerOrderNumberPicture =
      text(kFlowerOrderPictureKey, defaults.flowerOrderNumberPicture);
  auto timeout = [&](std::string_view key, int fallback) {
    const int seconds = number(key, fallback);
    return IsPrinterTimeout(seconds) ? seconds : fallback;
  };
  settings.connectTimeoutSeconds = timeout(kConnectTimeoutKey, defaults.connectTimeoutSeconds);
  settings.writeTimeoutSeconds = timeout(kWriteTimeoutKey, defaults.writeTimeoutSeconds);
  return settings;
}

Status WriteWindowPrinterSettings(const std::filesystem::path& path,
                                  const PrinterSettings& settings) {
  if (Status fits = CheckLength("the printer name", settings.printerName, kMaxPrinterNameLength);
      !fits.ok()) {
    return fits;
  }
  return UpdateFile(path, [&](ini::IniFile& file) {
    const Status steps[] = {
        file.SetString(kPrinterSection, kPrinterKey, settings.printerName),
        file.SetInteger(kPrinterSection, kTopOffsetKey, settings.topOffset),
        file.SetInteger(kPrinterSection, kLeftOffsetKey, settings.leftOffset),
        file.SetInteger(kPrinterSection, kAi90Key, settings.ai90Flag),
        file.SetInteger(kPrinterSection, kWideNarrowKey, settings.wideNarrow),
        file.SetInteger(kPrinterSection, kWaitKey, settings.waitSeconds),
    };
    for (const Status& step : steps) {
      if (!step.ok()) return step;
    }
    return Status::Ok();
  });
}

Status WritePrinterTimeouts(const std::filesystem::path& path, const PrinterSettings& settings) {
  if (!IsPrinterTimeout(settings.connectTimeoutSeconds) ||
      !IsPrinterTimeout(settings.writeTimeoutSeconds)) {
    return Status(ErrorCode::kInvalidValue, "a printer timeout is outside 1 to " +
                                                std::to_string(kLongestPrinterTimeoutSeconds) +
                                                " seconds");
  }
  return UpdateFile(path, [&](ini::IniFile& file) {
    Status status =
        file.SetInteger(kPrinterSection, kConnectTimeoutKey, settings.connectTimeoutSeconds);
    if (status.ok()) {
      status = file.SetInteger(kPrinterSection, kWriteTimeoutKey, settings.writeTimeoutSeconds);
    }
    return status;
  });
}

Status WriteMixedPalletCaption(const std::filesystem::path& path, std::string_view caption) {
  if (Status fits = CheckLength("the caption", caption, kMaxMixedPalletCaptionLength); !fits.ok()) {
    return fits;
  }
  return UpdateFile(path, [&](ini::IniFile& file) {
    return file.SetString(kPrinterSection, kCaptionKey, caption);
  });
}

}  // namespace paltrix::settings
