#include "framework/storage/network_file_system.h"

#include <fmt/format.h>
#include <sys/vfs.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include "framework/path/file_system_error.h"
#include "framework/storage/database_setting.h"

namespace paltrix::storage {
namespace {

struct NetworkMagic {
  std::int64_t magic;
  std::string_view name;
};

// statfs(2) f_type values (Linux include/uapi/linux/magic.h and the file
// systems' own sources).
constexpr std::int64_t kFuseMagic = 0x65735546;
constexpr std::array<NetworkMagic, 14> kNetworkMagics{{
    {0x6969, "nfs"},
    {0x517B, "smb"},
    {0xFE534D42, "smb2"},
    {0xFF534D42, "cifs"},
    {0x73757245, "coda"},
    {0x5346414F, "afs"},
    {0x6B414653, "afs"},
    {0x01021997, "9p"},
    {0x00C36400, "ceph"},
    {0x564C, "ncp"},
    {0x7461636F, "ocfs2"},
    {0x01161970, "gfs2"},
    {0x0BD00BD0, "lustre"},
    {0x47504653, "gpfs"},
}};

// FUSE file systems that are clients of another machine.
constexpr std::array<std::string_view, 9> kNetworkFuseTypes{
    "fuse.sshfs",  "fuse.glusterfs", "fuse.ceph-fuse", "fuse.s3fs",  "fuse.gcsfuse",
    "fuse.rclone", "fuse.smbnetfs",  "fuse.curlftpfs", "fuse.davfs2"};

// A mount point field of /proc/self/mountinfo with its octal escapes undone
// ("\040" for a blank).
std::string UnescapeMountField(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      text += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

// The type of the mount that holds `folder`: the entry with the longest mount
// point that `folder` lies under. Empty when the table cannot be read.
std::string MountTypeOf(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::canonical(folder, error);
  if (error) canonical = std::filesystem::absolute(folder);
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  std::string bestType;
  std::size_t bestLength = 0;
  while (std::getline(table, line)) {
    // "id parent major:minor root mount-point options [optional...] - type source super"
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint, word;
    fields >> id >> parent >> device >> root >> mountPoint;
    while (fields >> word && word != "-") {
    }
    std::string type;
    fields >> type;
    const std::string point = UnescapeMountField(mountPoint);
    const std::string path = canonical.string();
    const bool under =
        path == point || point == "/" ||
        (path.starts_with(point) && path.size() > point.size() && path[point.size()] == '/');
    if (under && point.size() >= bestLength) {
      bestLength = point.size();
      bestType = type;
    }
  }
  return bestType;
}

}  // namespace

Result<FileSystemIdentity> ProbeFileSystem(const std::filesystem::path& folder) {
  struct statfs info {};
  int rc;
  do {
    rc = statfs(folder.c_str(), &info);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    return FileSystemFailure(std::error_code(errno, std::generic_category()),
                             fmt::format("the file system of {}", folder.string()),
                             ErrorCode::kPathNotFound);
  }
  FileSystemIdentity identity{.magic = static_cast<std::int64_t>(info.f_type), .fuseType = {}};
  if (identity.magic == kFuseMagic) identity.fuseType = MountTypeOf(folder);
  return identity;
}

std::optional<std::string_view> NetworkFileSystemName(const FileSystemIdentity& identity) {
  // f_type is a signed word on some architectures: compare the low 32 bits.
  const std::int64_t magic = identity.magic & 0xFFFFFFFF;
  const auto known = std::find_if(kNetworkMagics.begin(), kNetworkMagics.end(),
                                  [&](const NetworkMagic& m) { return m.magic == magic; });
  if (known != kNetworkMagics.end()) return known->name;
  if (magic == kFuseMagic) {
    const auto fuse =
        std::find(kNetworkFuseTypes.begin(), kNetworkFuseTypes.end(), identity.fuseType);
    if (fuse != kNetworkFuseTypes.end()) return *fuse;
  }
  return std::nullopt;
}

Status RefuseNetworkFileSystem(const std::filesystem::path& folder, std::string_view what,
                               const FileSystemProbe& probe) {
  Result<FileSystemIdentity> identity = probe(folder);
  if (!identity.ok()) return identity.status();
  const std::optional<std::string_view> network = NetworkFileSystemName(*identity);
  if (!network) return Status::Ok();
  return Status(
      ErrorCode::kAccessDenied,
      fmt::format("{}: the folder {} lies on a network file system ({}), where several stations "
                  "could give out one SSCC twice. Keep the Data folder on a local disk, or put "
                  "the record files on a PostgreSQL server: key {} of section [{}] in the "
                  "settings INI file, or the environment variable {}",
                  what, folder.string(), *network, kConnectionKey, kDatabaseSection,
                  kConnectionVariable));
}

}  // namespace paltrix::storage
