#include "progress_line.h"

#include <fmt/format.h>

namespace tavix::cli {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string HumanBytes(std::int64_t bytes) {
  if (bytes < 10 * 1024) return fmt::format("{} B", bytes);
  if (bytes < 10 * 1024 * 1024) return fmt::format("{:.1f} KiB", bytes / 1024.0);
  return fmt::format("{:.1f} MiB", bytes / (1024.0 * 1024.0));
}

}  // namespace

std::string FormatProgress(const TavixTransferProgress& progress,
                           std::chrono::steady_clock::duration elapsed) {
  const double seconds = std::chrono::duration<double>(elapsed).count();
  const auto rate = seconds > 0.0 ? static_cast<std::int64_t>(progress.bytes / seconds) : 0;
  std::string text = progress.fileName != nullptr ? progress.fileName : "";
  if (!text.empty()) text += "  ";
  text += HumanBytes(progress.bytes);
  if (progress.fileSize >= 0) text += " of " + HumanBytes(progress.fileSize);
  text += "  " + HumanBytes(rate) + "/s";
  if (progress.fileSize > 0)
    text +=
        fmt::format("  {}%", std::min<std::int64_t>(100, progress.bytes * 100 / progress.fileSize));
  else if (progress.fileSize == 0)
    text += "  100%";
  if (progress.errors > 0) text += fmt::format("  {} errors", progress.errors);
  if (progress.status != nullptr && progress.status[0] != '\0')
    text += "  " + std::string(progress.status);
  return text;
}

void ProgressLine::Update(const TavixTransferProgress& progress) {
  const auto now = std::chrono::steady_clock::now();
  const std::string file = progress.fileName != nullptr ? progress.fileName : "";
  const bool newFile = file != file_;
  if (newFile) {
    if (!file_.empty()) Finish();
    file_ = file;
    fileStart_ = now;
  }
  lastText_ = FormatProgress(progress, now - fileStart_);
  if (newFile || now - lastDraw_ >= kRedrawInterval) {
    Draw(lastText_);
    lastDraw_ = now;
  }
}

void ProgressLine::Finish() {
  if (lastText_.empty()) return;
  Draw(lastText_);
  std::fputc('\n', stream_);
  std::fflush(stream_);
  lastText_.clear();
  drawnWidth_ = 0;
}

void ProgressLine::Draw(const std::string& text) {
  // Blanks over the rest of a longer earlier line.
  const std::size_t padding = drawnWidth_ > text.size() ? drawnWidth_ - text.size() : 0;
  std::fprintf(stream_, "\r%s%*s", text.c_str(), static_cast<int>(padding), "");
  std::fflush(stream_);
  drawnWidth_ = text.size();
}

void ProgressLine::Callback(int32_t, const TavixTransferProgress* progress, void* context) {
  if (progress != nullptr) static_cast<ProgressLine*>(context)->Update(*progress);
}

}  // namespace tavix::cli
