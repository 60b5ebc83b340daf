#pragma once

#include <string>
#include <utility>

// Where the record files live: chosen once at program start and handed to
// every storage session of the process.
//
// - The Data folder (the default): each keyed file is a database of the
//   embedded engine at the path its disk name resolves to, relative to the
//   working directory (framework/path). Safe for many processes on one
//   machine, never on a network file system.
// - A PostgreSQL database: each keyed file lives in the database named by a
//   libpq connection string ("host=/run/postgresql dbname=paltrix" or
//   "postgresql://user@host/db"); the file's disk name still says which file
//   it is. Many stations on many machines may share it.
namespace paltrix::storage {

struct StorageTarget {
  // Empty for the Data folder, else the libpq connection string.
  std::string postgresConnection;

  static StorageTarget DataFolder() { return {}; }
  static StorageTarget Postgres(std::string connection) {
    return StorageTarget{std::move(connection)};
  }

  bool isPostgres() const { return !postgresConnection.empty(); }
};

}  // namespace paltrix::storage
