#include "framework/errors/console_presenter.h"

#include <fmt/format.h>

#include <cstdio>

namespace paltrix::errors {

int ConsolePresenter::ShowMessageBox(const MessageBoxRequest& request) {
  fmt::print(stderr, "{}: {}\n", request.title, request.text);
  return request.defaultButton;
}

int ConsolePresenter::ShowHistory(std::string_view title, std::span<const HistoryEntry> entries,
                                  int /*buttons*/, int defaultButton) {
  fmt::print(stderr, "{}:\n", title);
  for (const HistoryEntry& entry : entries) {
    fmt::print(stderr, "  [{}] {}\n", entry.category, entry.text);
  }
  return defaultButton;
}

}  // namespace paltrix::errors
