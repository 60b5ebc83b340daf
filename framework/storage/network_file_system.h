#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "framework/result.h"
#include "framework/status.h"

// The embedded engine keeps its write-ahead log's index in shared memory
// beside each file. That memory does not cross machines, so two stations
// writing one file on a share would each see their own index: two pallets
// with one SSCC. A file is therefore never opened on a network file system.
namespace paltrix::storage {

// What a folder lies on: statfs(2)'s f_type and, for a FUSE mount, the type
// its mount table entry names ("fuse.sshfs").
struct FileSystemIdentity {
  std::int64_t magic = 0;
  std::string fuseType;
};

// Looks up the file system of an existing folder.
using FileSystemProbe = std::function<Result<FileSystemIdentity>(const std::filesystem::path&)>;

// statfs(2) on the folder; the mount table (/proc/self/mountinfo) only for a
// FUSE mount. kFileSystemError when statfs fails.
Result<FileSystemIdentity> ProbeFileSystem(const std::filesystem::path& folder);

// The name of the network file system, or nullopt for one that keeps shared
// memory coherent (every local one). NFS, SMB/CIFS, AFS, Coda, 9P, Ceph,
// NetWare and the shared-disk cluster file systems count as network; FUSE
// only where the mount is a network client (sshfs, glusterfs, s3fs, ...), so
// a local disk mounted through FUSE (NTFS, exFAT) stays usable.
std::optional<std::string_view> NetworkFileSystemName(const FileSystemIdentity& identity);

// Ok for a folder on a local file system; kAccessDenied, naming the file
// system and the database connection setting, for one on a network file
// system. `what` starts the message (the file's label and path). A failing
// probe is returned as it is.
Status RefuseNetworkFileSystem(const std::filesystem::path& folder, std::string_view what,
                               const FileSystemProbe& probe);

}  // namespace paltrix::storage
