#include "framework/errors/console_presenter.h"

#include <fmt/format.h>

#include "framework/console.h"

namespace paltrix::errors {

int ConsolePresenter::ShowMessageBox(const MessageBoxRequest& request) {
  console::WriteErr(fmt::format("{}: {}\n", request.title, request.text));
  return request.defaultButton;
}

int ConsolePresenter::ShowHistory(std::string_view title, std::span<const HistoryEntry> entries,
                                  int /*buttons*/, int defaultButton) {
  std::string text = fmt::format("{}:\n", title);
  for (const HistoryEntry& entry : entries) {
    text += fmt::format("  [{}] {}\n", entry.category, entry.text);
  }
  console::WriteErr(text);
  return defaultButton;
}

}  // namespace paltrix::errors
