#include "app/labels/label_procedures.h"

#include <fmt/format.h>

#include <string_view>

#include "app/gs1/element_data.h"
#include "app/labels/case_label.h"
#include "app/labels/compact_pallet_label.h"
#include "app/labels/ean_item_label.h"
#include "app/labels/mixed_pallet_label.h"
#include "app/labels/pallet_label.h"
#include "app/labels/pallet_layouts.h"
#include "app/labels/setup_preamble.h"

namespace paltrix::labels {
namespace {

using StreamBuilder = Result<std::string> (*)(const LabelInput& input, std::string_view sscc);

// How each member of the family runs.
struct FamilyMember {
  StreamBuilder build;
  bool allocatesSscc;
  bool streamPerPallet;  // else one stream in all
  bool copiesToClipboard;
  bool pausesAfterSend;
};

// Builds the refusal check with; only its shape matters.
constexpr std::string_view kStandInSscc = "000000000000000000";

template <const PalletLayout& layout>
Result<std::string> BuildPallet(const LabelInput& input, std::string_view sscc) {
  return BuildPalletLabelStream(layout, input, sscc);
}
Result<std::string> BuildCase(const LabelInput& input, std::string_view) {
  return BuildCaseLabelStream(input);
}
Result<std::string> BuildEanItem(const LabelInput& input, std::string_view) {
  return BuildEanItemLabelStream(input);
}

// clang-format off
// Columns: builder, allocates an SSCC, one stream per pallet, copies to the
// clipboard, pauses after each send.
constexpr FamilyMember kPalletLabel4        {BuildPallet<kPalletLayout4>,     true,  true,  true,  false};
constexpr FamilyMember kPalletLabel4Fine    {BuildPallet<kPalletLayout4Fine>, true,  true,  false, false};
constexpr FamilyMember kPalletLabel4Compact {BuildCompactPalletLabelStream,   true,  true,  false, false};
constexpr FamilyMember kCaseLabel4          {BuildCase,                       false, true,  true,  false};
constexpr FamilyMember kMixedPalletLabel    {BuildMixedPalletLabelStream,     true,  true,  false, false};
constexpr FamilyMember kEanItemLabel        {BuildEanItem,                    false, false, false, false};
constexpr FamilyMember kPalletLabel6        {BuildPallet<kPalletLayout6>,     true,  true,  true,  true};
constexpr FamilyMember kPalletLabel6Fine    {BuildPallet<kPalletLayout6Fine>, true,  true,  true,  true};
// clang-format on

bool StopRequested(const LabelServices& services) {
  return services.observer != nullptr && services.observer->StopRequested();
}

// Allocates, builds, copies and sends one stream. Returns false when the run
// has to stop (report.status says why).
bool SendOne(const FamilyMember& member, const LabelInput& input, const LabelServices& services,
             LabelRunReport& report) {
  std::string sscc;
  if (member.allocatesSscc) {
    Result<std::string> allocated = services.sscc.Allocate();
    if (!allocated) {
      report.status = allocated.status();
      return false;
    }
    sscc = std::move(allocated).value();
  }
  Result<std::string> stream = member.build(input, sscc);
  if (!stream) {
    report.status = stream.status();
    return false;
  }
  if (member.copiesToClipboard && services.clipboard != nullptr) {
    services.clipboard->CopyText(*stream);
  }
  report.streams.push_back({.sscc = std::move(sscc),
                            .printResult = services.output.PrintRaw(input.printerName, *stream)});
  if (services.observer != nullptr) services.observer->StreamHandedOver(report.streams.back());
  if (member.pausesAfterSend && input.waitSeconds > 0 && !StopRequested(services)) {
    services.sleeper.Sleep(std::chrono::seconds(input.waitSeconds));
  }
  return true;
}

LabelRunReport Run(const FamilyMember& member, const LabelInput& input,
                   const LabelServices& services) {
  LabelRunReport report;
  report.printerName = input.printerName;
  report.printRate = EffectivePrintRate(input.printer.printRate);
  report.shelfLifeDays = gs1::ShelfLifeDays(input.product.bestBefore, input.today);

  if (Result<std::string> check = member.build(input, kStandInSscc); !check) {
    report.status = check.status();
    return report;
  }
  const std::int32_t streams = member.streamPerPallet ? input.pallets : 1;
  if (streams < 1) {
    report.status =
        Status(ErrorCode::kInvalidValue,
               fmt::format("The number of pallets is {}: nothing was printed", input.pallets));
    return report;
  }
  for (std::int32_t pallet = 0; pallet < streams; ++pallet) {
    if (pallet > 0 && StopRequested(services)) {
      report.stopped = true;
      break;
    }
    if (!SendOne(member, input, services, report)) break;
  }
  return report;
}

}  // namespace

bool LabelRunReport::AllSent() const {
  if (!status.ok() || stopped) return false;
  for (const PrintedStream& stream : streams) {
    if (!stream.sent()) return false;
  }
  return true;
}

LabelRunReport PrintPalletLabel4(const LabelInput& input, const LabelServices& services) {
  return Run(kPalletLabel4, input, services);
}
LabelRunReport PrintPalletLabel4Fine(const LabelInput& input, const LabelServices& services) {
  return Run(kPalletLabel4Fine, input, services);
}
LabelRunReport PrintPalletLabel4Compact(const LabelInput& input, const LabelServices& services) {
  return Run(kPalletLabel4Compact, input, services);
}
LabelRunReport PrintCaseLabel4(const LabelInput& input, const LabelServices& services) {
  return Run(kCaseLabel4, input, services);
}
LabelRunReport PrintMixedPalletLabel(const LabelInput& input, const LabelServices& services) {
  return Run(kMixedPalletLabel, input, services);
}
LabelRunReport PrintEanItemLabel(const LabelInput& input, const LabelServices& services) {
  return Run(kEanItemLabel, input, services);
}
LabelRunReport PrintPalletLabel6(const LabelInput& input, const LabelServices& services) {
  return Run(kPalletLabel6, input, services);
}
LabelRunReport PrintPalletLabel6Fine(const LabelInput& input, const LabelServices& services) {
  return Run(kPalletLabel6Fine, input, services);
}

}  // namespace paltrix::labels
