#pragma once

#include <string>
#include <utility>

namespace paltrix {

// Error codes of the record-file layer. The numbers are the ones the error
// manager's messages show (e.g. "(2)" after a failed open), so they are part of
// what an operator sees and must not be renumbered.
enum class ErrorCode : int {
  kOk = 0,
  kFileNotFound = 2,
  kPathNotFound = 3,
  kAccessDenied = 5,
  kRecordNotAvailable = 33,  // end or beginning of file reached while reading on
  kRecordNotFound = 35,      // no record at that position or key value
  kInvalidDataFile = 36,     // not one of our files, or damaged
  kFileNotOpen = 37,
  kDuplicateKey = 40,
  kRecordHeld = 43,          // another process holds the file past the wait
  kKeysNeedRebuild = 46,
  kInvalidRecordDeclaration = 47,  // stored record length differs from the layout
  kFileSystemError = 90,     // carries the system's own code and text
  kInvalidValue = 100,       // a value that cannot be used as it is (malformed, out of range)
};

// The result of an operation: kOk, or a code with a text for the operator.
// For kFileSystemError, systemCode/systemText hold what the operating system
// or the database library reported, which the error manager shows as
// "%FileError"/"%FileErrorCode".
class Status {
 public:
  Status() = default;
  Status(ErrorCode code, std::string message, int systemCode = 0, std::string systemText = {})
      : code_(code),
        message_(std::move(message)),
        systemCode_(systemCode),
        systemText_(std::move(systemText)) {}

  static Status Ok() { return {}; }

  bool ok() const { return code_ == ErrorCode::kOk; }
  explicit operator bool() const { return ok(); }
  ErrorCode code() const { return code_; }
  int number() const { return static_cast<int>(code_); }
  const std::string& message() const { return message_; }
  int systemCode() const { return systemCode_; }
  const std::string& systemText() const { return systemText_; }

  // "message (code)"; for file-system errors the system's own text and code.
  std::string ToString() const;

 private:
  ErrorCode code_ = ErrorCode::kOk;
  std::string message_;
  int systemCode_ = 0;
  std::string systemText_;
};

// Standard text for a code, used when an operation has nothing more specific.
const char* DescribeErrorCode(ErrorCode code);

}  // namespace paltrix
