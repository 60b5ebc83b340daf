#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "framework/result.h"
#include "framework/storage/storage_target.h"

// Moving a station's record files from its Data folder onto a PostgreSQL
// database that several stations then share: the catalogue, the companies and
// the running SSCC serial go along, so nothing is retyped and no SSCC is given
// out twice.
namespace paltrix::records {

struct CopiedFile {
  std::string_view label;
  std::int64_t records = 0;  // 0 too for a file the Data folder does not have
};

// Called after each record written: the file's label and how many of its
// records are written so far, of `total`.
using CopyProgress =
    std::function<void(std::string_view label, std::int64_t done, std::int64_t total)>;

// Copies every keyed record file of the Data folder under `workingDirectory`
// (a file that is missing there is skipped) into the database of `target`,
// record by record in physical order, so every file keeps the order of its
// records (the sender stays the first company). Keys are rebuilt as the
// records go in.
//
// The target files are made first (empty, outside the transaction); then every
// record of every file is written in one transaction, so the database either
// holds the whole Data folder or, on any failure, nothing of it. The Data
// folder is read from one snapshot and never changed. Refuses (kInvalidValue,
// nothing written) a target that is the Data folder itself or whose files
// already hold records.
//
// The Data folder may lie on a network file system here, which is exactly
// where a site moves away from; the other stations must be stopped while the
// copy runs.
Result<std::vector<CopiedFile>> CopyDataFolderToDatabase(
    const std::filesystem::path& workingDirectory, const storage::StorageTarget& target,
    const CopyProgress& progress = {});

}  // namespace paltrix::records
