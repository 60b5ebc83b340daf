#include "framework/path/path_resolver.h"

#include <fmt/format.h>

#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "framework/path/file_system_error.h"
#include "framework/text/windows1252.h"

namespace paltrix::path {
namespace {

std::vector<std::string_view> SplitComponents(std::string_view diskName) {
  std::vector<std::string_view> components;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= diskName.size(); ++i) {
    if (i == diskName.size() || diskName[i] == '\\' || diskName[i] == '/') {
      const std::string_view component = diskName.substr(start, i - start);
      if (!component.empty() && component != ".") components.push_back(component);
      start = i + 1;
    }
  }
  return components;
}

// A name as Windows-1252 bytes: names on disk and in the program are UTF-8
// where they are valid UTF-8, else taken to be Windows-1252 already.
std::string AsWindows1252(std::string_view name) {
  return text::FromUtf8(name).value_or(std::string(name));
}

std::string AsDiskSpelling(std::string_view name) {
  return text::FromUtf8(name).has_value() ? std::string(name) : text::ToUtf8(name);
}

// The name of the entry of `folder` that matches `wanted` regardless of case,
// nullopt when there is none.
Result<std::optional<std::string>> FindEntry(const std::filesystem::path& folder,
                                             std::string_view wanted) {
  std::error_code error;
  const std::string spelled = AsDiskSpelling(wanted);
  if (std::filesystem::exists(std::filesystem::symlink_status(folder / spelled, error))) {
    return std::optional<std::string>(spelled);
  }
  std::filesystem::directory_iterator entries(folder, error);
  if (error) {
    return FileSystemFailure(error, fmt::format("folder {}", folder.string()),
                             ErrorCode::kPathNotFound);
  }
  const std::string folded = AsWindows1252(wanted);
  std::optional<std::string> found;
  for (const std::filesystem::directory_entry& entry : entries) {
    std::string name = entry.path().filename().string();
    if (text::CompareNoCase(AsWindows1252(name), folded) != 0) continue;
    if (!found || name < *found) found = std::move(name);
  }
  return found;
}

}  // namespace

Result<std::filesystem::path> ResolveDiskName(std::string_view diskName,
                                              const std::filesystem::path& base) {
  const std::vector<std::string_view> components = SplitComponents(diskName);
  if (components.empty()) {
    return Status(ErrorCode::kFileNotFound,
                  fmt::format("the disk name \"{}\" names no file", diskName));
  }
  const bool fromRoot = !diskName.empty() && (diskName[0] == '\\' || diskName[0] == '/');
  std::filesystem::path resolved = fromRoot ? std::filesystem::path("/") : base;
  for (std::size_t i = 0; i < components.size(); ++i) {
    const bool last = i + 1 == components.size();
    if (components[i] == "..") {
      resolved /= "..";
      continue;
    }
    Result<std::optional<std::string>> entry = FindEntry(resolved, components[i]);
    if (!entry.ok()) return entry.status();
    if (last) {
      resolved /= entry->value_or(AsDiskSpelling(components[i]));
      break;
    }
    std::error_code error;
    if (!entry->has_value() || !std::filesystem::is_directory(resolved / **entry, error)) {
      return Status(ErrorCode::kPathNotFound,
                    fmt::format("{}: the folder {} does not exist", diskName,
                                (resolved / AsDiskSpelling(components[i])).string()));
    }
    resolved /= **entry;
  }
  return resolved;
}

Result<std::filesystem::path> ResolveDiskName(std::string_view diskName) {
  std::error_code error;
  std::filesystem::path current = std::filesystem::current_path(error);
  if (error) return FileSystemFailure(error, "the working directory", ErrorCode::kPathNotFound);
  return ResolveDiskName(diskName, current);
}

}  // namespace paltrix::path
