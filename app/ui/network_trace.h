#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>

// Trace lines of the network layer. The program takes no arguments of its own,
// but it recognises the network layer's five trace switches:
//
//   /netnolog  /wireletlog  /wireletlogerrors  /neterrors  /netall
//
// Tracing is on when "/netnolog" is absent and at least one of the other four
// is present. A switch is recognised without regard to case and also with "-"
// in place of "/" (a Linux shell user's habit); every other argument is ignored.
namespace paltrix::app {

inline constexpr std::string_view kNetworkLayerVersion = "5.44";

bool NetworkTracingRequested(std::span<const std::string> arguments);

// Writes the start and close lines when tracing is on; writes nothing when off.
class NetworkTrace {
 public:
  // REQUIRES: out outlives this object.
  NetworkTrace(bool on, std::ostream& out, std::string applicationName)
      : on_(on), out_(out), applicationName_(std::move(applicationName)) {}

  bool on() const { return on_; }

  void WriteStartLines();
  // "[Wirelet Template] Closing Down Wirelet (Object) version 5.44 in
  // application " followed by the application's name.
  void WriteCloseLine();

 private:
  bool on_;
  std::ostream& out_;
  std::string applicationName_;
};

}  // namespace paltrix::app
