#pragma once

#include <string_view>

// Where an operator chooses the PostgreSQL server instead of the Data folder:
// key "Connection" of section "Database" in the settings INI file, a libpq
// connection string or URI; the environment variable PALTRIX_DATABASE, when
// set, wins over the file (scripts). Empty or absent: the embedded engine.
namespace paltrix::storage {

inline constexpr std::string_view kDatabaseSection = "Database";
inline constexpr std::string_view kConnectionKey = "Connection";
inline constexpr std::string_view kConnectionVariable = "PALTRIX_DATABASE";

}  // namespace paltrix::storage
