#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace paltrix::errors {

// Result codes of the log operations.
inline constexpr int kLogOk = 0;
inline constexpr int kLogFailed = 5;

// Where the error manager writes shown messages, one line each.
class ErrorLog {
 public:
  virtual ~ErrorLog() = default;

  // Each returns kLogOk or kLogFailed.
  virtual int Open(bool force = false) = 0;
  virtual int Close(bool force = false) = 0;
  virtual int Write(std::string_view line) = 0;
};

// The text file "ABCError.Log" (by default in the current directory), lines of
// at most kMaxLineLength characters, with an open count: Open opens the file
// (creating it when missing) only when the count is 0 or when forced, then
// adds 1; Close closes it when the count is 1 or when forced, then subtracts 1.
// Write appends a line while the file is open; a longer line is cut.
class StandardErrorLog final : public ErrorLog {
 public:
  static constexpr std::size_t kMaxLineLength = 1024;
  static constexpr std::string_view kDefaultFileName = "ABCError.Log";

  explicit StandardErrorLog(std::filesystem::path path = std::filesystem::path(kDefaultFileName));

  int Open(bool force = false) override;
  int Close(bool force = false) override;
  int Write(std::string_view line) override;

  int openCount() const { return openCount_; }

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::filesystem::path path_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  int openCount_ = 0;
};

}  // namespace paltrix::errors
