#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framework/result.h"
#include "framework/status.h"

namespace paltrix::ini {

// One INI file in memory: sections of "key=value" lines. Section and key names
// are compared without regard to case (A-Z). Values are the file's bytes as
// they stand (the program writes Windows-1252), with surrounding blanks
// removed.
//
// Save writes every section, key and comment back in the order of the file,
// changed values in place and new keys at the end of their section (new
// sections at the end of the file); comment lines at the very end of the
// file are kept too.
//
// An IniFile is not safe for concurrent use; load one per reader or writer.
class IniFile {
 public:
  // The file at `path`; an empty IniFile when the file does not exist.
  // Fails when the file exists but cannot be read (kAccessDenied, or
  // kFileSystemError; the system's code and text in the Status).
  static Result<IniFile> Load(std::filesystem::path path);

  IniFile(IniFile&&) noexcept;
  IniFile& operator=(IniFile&&) noexcept;
  ~IniFile();

  const std::filesystem::path& path() const { return path_; }

  // The value of `key` in `section`, or nullopt when either is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // The value, or `defaultValue` when the section or key is missing.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view defaultValue) const;

  // The value as a whole number (an optional sign and digits, blanks around
  // allowed), or `defaultValue` when the key is missing or its value is not a
  // whole number that fits an int. Files are edited by hand, so "12 mm" or
  // "" is treated as not set rather than as a partial number.
  int GetInteger(std::string_view section, std::string_view key, int defaultValue) const;

  // Sets a value in memory, creating the section and key when missing.
  // Refuses (kInvalidValue, nothing changed) a value with a line break or NUL,
  // which would break the file's lines, and a section or key name that is
  // empty or holds such a character, "[", "]" or "=".
  Status SetString(std::string_view section, std::string_view key, std::string_view value);
  Status SetInteger(std::string_view section, std::string_view key, int value);

  // True when a value was set since Load or the last successful Save.
  bool changed() const { return changed_; }

  // Writes the file. The new contents go to a sibling file first, which then
  // replaces the old one, so a failed write leaves the old file as it was.
  // Failures carry the system's code and text: kAccessDenied (the file or
  // folder may not be written), kPathNotFound (the folder is missing; no
  // folder is ever created), otherwise kFileSystemError.
  Status Save();

 private:
  struct Contents;
  explicit IniFile(std::filesystem::path path);

  std::filesystem::path path_;
  std::unique_ptr<Contents> contents_;
  bool changed_ = false;
};

}  // namespace paltrix::ini
