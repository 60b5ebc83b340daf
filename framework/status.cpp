#include "framework/status.h"

#include <fmt/format.h>

namespace paltrix {

const char* DescribeErrorCode(ErrorCode code) {
  switch (code) {
    case ErrorCode::kOk: return "No error";
    case ErrorCode::kFileNotFound: return "File Not Found";
    case ErrorCode::kPathNotFound: return "Path Not Found";
    case ErrorCode::kAccessDenied: return "Access Denied";
    case ErrorCode::kRecordNotAvailable: return "Record Not Available";
    case ErrorCode::kRecordNotFound: return "Record Not Found";
    case ErrorCode::kInvalidDataFile: return "Invalid Data File";
    case ErrorCode::kFileNotOpen: return "File Not Open";
    case ErrorCode::kDuplicateKey: return "Creates Duplicate Key";
    case ErrorCode::kRecordHeld: return "Record Is Already Held";
    case ErrorCode::kKeysNeedRebuild: return "Keys Need Rebuilding";
    case ErrorCode::kInvalidRecordDeclaration: return "Invalid Record Declaration";
    case ErrorCode::kFileSystemError: return "File System Error";
    case ErrorCode::kInvalidValue: return "Invalid Value";
  }
  return "Unknown Error";
}

std::string Status::ToString() const {
  if (code_ == ErrorCode::kFileSystemError && !systemText_.empty()) {
    return fmt::format("{} ({})", systemText_, systemCode_);
  }
  return fmt::format("{} ({})", message_.empty() ? DescribeErrorCode(code_) : message_.c_str(),
                     number());
}

}  // namespace paltrix
