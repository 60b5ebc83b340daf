#include "framework/errors/runtime_error.h"

namespace paltrix::errors {
namespace {

thread_local RuntimeError runtimeErrorOfThisThread;

}  // namespace

void SetRuntimeError(const Status& status) {
  RuntimeError& error = runtimeErrorOfThisThread;
  error = RuntimeError{};
  if (status.ok()) return;
  error.code = status.number();
  error.text = status.message().empty() ? DescribeErrorCode(status.code()) : status.message();
  if (status.code() == ErrorCode::kFileSystemError) {
    error.fileErrorCode = std::to_string(status.systemCode());
    error.fileError = status.systemText();
  }
}

const RuntimeError& CurrentRuntimeError() {
  return runtimeErrorOfThisThread;
}

}  // namespace paltrix::errors
