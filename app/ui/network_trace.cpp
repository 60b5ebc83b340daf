#include "app/ui/network_trace.h"

#include <algorithm>
#include <array>

#include "framework/text/windows1252.h"

namespace paltrix::app {
namespace {

constexpr std::string_view kNoLogSwitch = "NETNOLOG";
constexpr std::array<std::string_view, 4> kTraceSwitches = {"WIRELETLOG", "WIRELETLOGERRORS",
                                                            "NETERRORS", "NETALL"};

// The switch name without its "/" or "-", upper-cased; empty for other arguments.
std::string SwitchName(std::string_view argument) {
  if (argument.size() < 2 || (argument.front() != '/' && argument.front() != '-')) return {};
  return text::FoldCase(argument.substr(1));
}

constexpr std::string_view kTracePrefix = "[Wirelet Template] ";

}  // namespace

bool NetworkTracingRequested(std::span<const std::string> arguments) {
  bool noLog = false;
  bool traceSwitch = false;
  for (const std::string& argument : arguments) {
    const std::string name = SwitchName(argument);
    if (name == kNoLogSwitch) noLog = true;
    if (std::find(kTraceSwitches.begin(), kTraceSwitches.end(), name) != kTraceSwitches.end()) {
      traceSwitch = true;
    }
  }
  return traceSwitch && !noLog;
}

void NetworkTrace::WriteStartLines() {
  if (!on_) return;
  out_ << kTracePrefix << "Wirelet (Object) version " << kNetworkLayerVersion << '\n'
       << kTracePrefix << "Starting Up Wirelet (Object) in application " << applicationName_ << '\n'
       << std::flush;
}

void NetworkTrace::WriteCloseLine() {
  if (!on_) return;
  out_ << kTracePrefix << "Closing Down Wirelet (Object) version " << kNetworkLayerVersion
       << " in application " << applicationName_ << '\n'
       << std::flush;
}

}  // namespace paltrix::app
