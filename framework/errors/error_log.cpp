#include "framework/errors/error_log.h"

#include <utility>

namespace paltrix::errors {

StandardErrorLog::StandardErrorLog(std::filesystem::path path) : path_(std::move(path)) {}

int StandardErrorLog::Open(bool force) {
  if (openCount_ == 0 || force) {
    // "a+" creates a missing file, keeps what is there and appends every write.
    file_.reset(std::fopen(path_.c_str(), "a+"));
    if (!file_) return kLogFailed;
  }
  ++openCount_;
  return kLogOk;
}

int StandardErrorLog::Close(bool force) {
  int result = kLogOk;
  if ((openCount_ == 1 || force) && file_) {
    if (std::fclose(file_.release()) != 0) result = kLogFailed;
  }
  if (openCount_ > 0) --openCount_;
  if (force) openCount_ = 0;
  return result;
}

int StandardErrorLog::Write(std::string_view line) {
  if (!file_) return kLogFailed;
  if (line.size() > kMaxLineLength) line = line.substr(0, kMaxLineLength);
  if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size() ||
      std::fputc('\n', file_.get()) == EOF || std::fflush(file_.get()) != 0) {
    return kLogFailed;
  }
  return kLogOk;
}

}  // namespace paltrix::errors
