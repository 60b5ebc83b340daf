#pragma once

#include <string>

#include "framework/status.h"

// The run-time error state of the calling thread: the code and text of the
// last failed operation, which the error manager's Throw picks up and shows
// as %ErrorCode, %Error, %ErrorText, %FileErrorCode and %FileError.
namespace paltrix::errors {

struct RuntimeError {
  int code = 0;               // Status::number()
  std::string text;           // the status message, else the standard text of the code
  std::string fileErrorCode;  // for ErrorCode::kFileSystemError: the system's code, in decimal
  std::string fileError;      // for ErrorCode::kFileSystemError: the system's text
};

// Records `status` as this thread's run-time error; an ok status clears it.
// Code that reports a failed operation through the error manager calls this
// with the operation's Status first.
void SetRuntimeError(const Status& status);

// This thread's run-time error (empty, code 0, until one is set).
const RuntimeError& CurrentRuntimeError();

}  // namespace paltrix::errors
