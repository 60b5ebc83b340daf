#include "framework/ini/ini_file.h"

// Plain bytes in and out: no wide-character conversion. Debian's header keeps
// the template bodies behind SI_IMPLEMENTATION.
#ifndef SI_NO_CONVERSION
#define SI_NO_CONVERSION
#endif
#ifndef SI_IMPLEMENTATION
#define SI_IMPLEMENTATION
#endif
#include <SimpleIni.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "framework/file_descriptor.h"
#include "framework/path/file_system_error.h"
#include "framework/path/ordinary_file.h"

namespace paltrix::ini {
namespace {

// `code` is the system's error number; 0 (a call that gave none) counts as EIO.
Status Failure(std::string_view what, const std::filesystem::path& file, int code,
               ErrorCode whenMissing = ErrorCode::kFileNotFound) {
  return FileSystemFailure(std::error_code(code != 0 ? code : EIO, std::generic_category()),
                           std::string(what) + " " + file.string(), whenMissing);
}

Result<std::string> ReadWholeFile(const std::filesystem::path& path) {
  int descriptor = -1;
  if (Status status = OpenOrdinaryFile(path, O_RDONLY, descriptor); !status.ok()) return status;
  const FileDescriptor file(descriptor);
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failure("cannot read", path, errno);
    if (got == 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > kLargestSettingsFile) {
      return Status(ErrorCode::kInvalidDataFile,
                    path.string() + " grew beyond the size of any settings file while read");
    }
  }
}

Status WriteWholeFile(const std::filesystem::path& path, std::string_view text) {
  int descriptor = -1;
  Status opened = OpenOrdinaryFile(path, O_WRONLY | O_CREAT, descriptor,
                                   std::numeric_limits<std::uintmax_t>::max());
  if (!opened.ok()) {
    return opened.code() == ErrorCode::kFileNotFound
               ? Status(ErrorCode::kPathNotFound, opened.message(), opened.systemCode(),
                        opened.systemText())
               : opened;
  }
  FileDescriptor file(descriptor);
  if (::ftruncate(file.get(), 0) != 0) return Failure("cannot write", path, errno);
  while (!text.empty()) {
    const ssize_t put = ::write(file.get(), text.data(), text.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return Failure("cannot write", path, errno);
    text.remove_prefix(static_cast<std::size_t>(put));
  }
  if (::fsync(file.get()) != 0 || !file.Close()) return Failure("cannot write", path, errno);
  return Status::Ok();
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\r") == line.npos;
}

bool IsBlankOrComment(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  return first == std::string_view::npos || line[first] == ';' || line[first] == '#';
}

// Where the comment lines at the end of `text` begin (text.size() when there
// are none). The INI parser keeps only comments that stand before a section
// or key, so these are kept apart and written back after the last section.
std::size_t StartOfTrailingComments(std::string_view text) {
  std::vector<std::size_t> lineStarts;
  for (std::size_t at = 0; at < text.size();) {
    lineStarts.push_back(at);
    const std::size_t newline = text.find('\n', at);
    at = newline == std::string_view::npos ? text.size() : newline + 1;
  }
  std::size_t start = text.size();
  std::size_t lineEnd = text.size();
  for (std::size_t i = lineStarts.size(); i-- > 0; lineEnd = lineStarts[i]) {
    std::string_view line = text.substr(lineStarts[i], lineEnd - lineStarts[i]);
    if (line.ends_with('\n')) line.remove_suffix(1);
    if (!IsBlankOrComment(line)) break;
    if (!IsBlank(line)) start = lineStarts[i];
  }
  return start;
}

std::optional<int> ParseWholeNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (text.starts_with('+')) text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

struct IniFile::Contents {
  CSimpleIniA ini{/*utf8=*/false, /*multiKey=*/false, /*multiLine=*/false};
  std::string trailingComments;
};

IniFile::IniFile(std::filesystem::path path)
    : path_(std::move(path)), contents_(std::make_unique<Contents>()) {
  contents_->ini.SetSpaces(false);  // "key=value", as the files are written by hand and elsewhere
}

IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;
IniFile::~IniFile() = default;

Result<IniFile> IniFile::Load(std::filesystem::path path) {
  IniFile file(std::move(path));
  std::error_code error;
  const bool exists = std::filesystem::exists(file.path_, error);
  if (error) return Failure("cannot look for", file.path_, error.value(), ErrorCode::kPathNotFound);
  if (!exists) return file;

  Result<std::string> text = ReadWholeFile(file.path_);
  if (!text.ok()) return text.status();
  const std::size_t trailing = StartOfTrailingComments(*text);
  file.contents_->trailingComments = text->substr(trailing);
  if (file.contents_->ini.LoadData(text->data(), trailing) < 0) {
    return Failure("cannot parse", file.path_, ENOMEM);
  }
  return file;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const char* value =
      contents_->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
  std::optional<std::string> value = Find(section, key);
  return value ? std::move(*value) : std::string(defaultValue);
}

int IniFile::GetInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const std::optional<std::string> value = Find(section, key);
  if (!value) return defaultValue;
  return ParseWholeNumber(*value).value_or(defaultValue);
}

Status IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
  constexpr std::string_view kLineBreaks("\r\n\0", 3);
  constexpr std::string_view kNotInNames("\r\n\0[]=", 6);
  auto badName = [&](std::string_view name) {
    return name.empty() || name.find_first_of(kNotInNames) != std::string_view::npos;
  };
  if (badName(section) || badName(key)) {
    return Status(ErrorCode::kInvalidValue, "not a valid INI section or key name: [" +
                                                std::string(section) + "] " + std::string(key));
  }
  if (value.find_first_of(kLineBreaks) != std::string_view::npos) {
    return Status(ErrorCode::kInvalidValue, "a line break cannot be written to " + path_.string() +
                                                " as " + std::string(key));
  }
  contents_->ini.SetValue(std::string(section).c_str(), std::string(key).c_str(),
                          std::string(value).c_str());
  changed_ = true;
  return Status::Ok();
}

Status IniFile::SetInteger(std::string_view section, std::string_view key, int value) {
  return SetString(section, key, std::to_string(value));
}

Status IniFile::Save() {
  std::error_code error;
  const bool exists = std::filesystem::exists(path_, error);
  if (exists && access(path_.c_str(), W_OK) != 0) {
    return Failure("cannot write", path_, errno);
  }

  std::string text;
  if (contents_->ini.Save(text) < 0) return Failure("cannot format", path_, ENOMEM);
  if (!contents_->trailingComments.empty()) {
    if (!text.empty() && !text.ends_with('\n')) text += '\n';
    if (!text.empty()) text += '\n';
    text += contents_->trailingComments;
  }

  std::filesystem::path temporary = path_;
  temporary += ".new" + std::to_string(getpid());
  if (Status written = WriteWholeFile(temporary, text); !written.ok()) {
    std::filesystem::remove(temporary, error);
    return written;
  }
  if (exists) {
    const auto permissions = std::filesystem::status(path_, error).permissions();
    if (!error) std::filesystem::permissions(temporary, permissions, error);
  }
  std::filesystem::rename(temporary, path_, error);
  if (error) {
    const int code = error.value();
    std::filesystem::remove(temporary, error);
    return Failure("cannot replace", path_, code);
  }
  changed_ = false;
  return Status::Ok();
}

}  // namespace paltrix::ini
