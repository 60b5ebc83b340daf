#include "tools/paltrix-cli/wait_notice.h"

#include <fmt/format.h>
#include <unistd.h>

#include "framework/console.h"

namespace paltrix::cli {

WaitNotice::WaitNotice() : terminal_(::isatty(STDERR_FILENO) == 1) {}

output::WaitProgress WaitNotice::Callback() {
  return [this](std::string_view what, std::chrono::seconds waited, std::chrono::seconds limit) {
    Show(what, waited, limit);
  };
}

void WaitNotice::Show(std::string_view what, std::chrono::seconds waited,
                      std::chrono::seconds limit) {
  if (terminal_) {
    console::WriteErr(fmt::format("\rpaltrix-cli: waiting for {}: {} s of at most {} s\033[K", what,
                                  waited.count(), limit.count()));
    shown_ = true;
  } else if (waited.count() == 1) {
    console::WriteErr(
        fmt::format("paltrix-cli: waiting for {} (at most {} s)\n", what, limit.count()));
  }
}

void WaitNotice::Clear() {
  if (!shown_) return;
  console::WriteErr("\r\033[K");
  shown_ = false;
}

}  // namespace paltrix::cli
