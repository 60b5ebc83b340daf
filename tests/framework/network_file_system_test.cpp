// A Data folder on a share is refused before anything is written there.
#include "framework/storage/network_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "framework/storage/keyed_file.h"
#include "tests/framework/storage_test_files.h"
#include "tests/support/temp_directory.h"

namespace paltrix::storage {
namespace {

struct Row {
  FileSystemIdentity identity;
  std::optional<std::string_view> network;
  const char* note;
};

TEST(NetworkFileSystem, DecisionTable) {
  const std::vector<Row> rows = {
      {{0xEF53, ""}, std::nullopt, "ext4"},
      {{0x58465342, ""}, std::nullopt, "xfs"},
      {{0x01021994, ""}, std::nullopt, "tmpfs"},
      {{0x794C7630, ""}, std::nullopt, "overlayfs (containers)"},
      {{0x6969, ""}, "nfs", "NFS v2 to v4"},
      {{0x517B, ""}, "smb", "old smbfs"},
      {{0xFE534D42, ""}, "smb2", "SMB2/3 client"},
      {{0xFF534D42, ""}, "cifs", "CIFS client"},
      {{static_cast<std::int64_t>(0xFFFFFFFFFF534D42), ""}, "cifs", "f_type sign-extended"},
      {{0x01021997, ""}, "9p", "9P (virtual machine shares)"},
      {{0x73757245, ""}, "coda", "Coda"},
      {{0x6B414653, ""}, "afs", "OpenAFS"},
      {{0x00C36400, ""}, "ceph", "CephFS kernel client"},
      {{0x65735546, "fuse.sshfs"}, "fuse.sshfs", "sshfs"},
      {{0x65735546, "fuse.glusterfs"}, "fuse.glusterfs", "GlusterFS client"},
      {{0x65735546, "fuseblk"}, std::nullopt, "NTFS disk through FUSE"},
      {{0x65735546, "fuse.exfat"}, std::nullopt, "exFAT disk through FUSE"},
      {{0x65735546, ""}, std::nullopt, "FUSE whose mount entry was not found"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(NetworkFileSystemName(row.identity), row.network) << row.note;
  }
}

TEST(NetworkFileSystem, RealProbeReadsTheFileSystemType) {
  Result<FileSystemIdentity> proc = ProbeFileSystem("/proc");
  ASSERT_TRUE(proc.ok()) << proc.status().ToString();
  EXPECT_EQ(proc->magic, 0x9FA0);  // procfs
  EXPECT_EQ(ProbeFileSystem("/no/such/folder").status().code(), ErrorCode::kPathNotFound);
}

class RefusedOpenTest : public ::testing::Test {
 protected:
  paltrix::testing::TempDirectory folder_;
  std::filesystem::path file_ = folder_ / "TEST.DAT";
  std::vector<std::filesystem::path> probed_;

  OpenOptions On(Result<FileSystemIdentity> answer) {
    OpenOptions options;
    options.fileSystemProbe = [this, answer](const std::filesystem::path& folder) {
      probed_.push_back(folder);
      return answer;
    };
    return options;
  }
};

TEST_F(RefusedOpenTest, AShareIsRefusedNamingTheDatabaseSettingAndNothingIsCreated) {
  Session session;
  Result<KeyedFile*> opened =
      session.Open(testing::kSchema, file_, On(FileSystemIdentity{0xFF534D42, ""}));
  ASSERT_FALSE(opened.ok());
  EXPECT_EQ(opened.status().code(), ErrorCode::kAccessDenied);
  const std::string& message = opened.status().message();
  EXPECT_NE(message.find("cifs"), std::string::npos) << message;
  EXPECT_NE(message.find("PostgreSQL"), std::string::npos) << message;
  EXPECT_NE(message.find("[Database]"), std::string::npos) << message;
  EXPECT_NE(message.find("PALTRIX_DATABASE"), std::string::npos) << message;
  ASSERT_EQ(probed_.size(), 1u);
  EXPECT_TRUE(std::filesystem::equivalent(probed_[0], folder_.path()));
  EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));
}

TEST_F(RefusedOpenTest, ALocalDiskOpensAndAFailingProbeIsReported) {
  {
    Session session;
    EXPECT_TRUE(session.Open(testing::kSchema, file_, On(FileSystemIdentity{0xEF53, ""})).ok());
  }
  Session session;
  Result<KeyedFile*> opened = session.Open(
      testing::kSchema, file_, On(Status(ErrorCode::kFileSystemError, "statfs failed")));
  ASSERT_FALSE(opened.ok());
  EXPECT_EQ(opened.status().message(), "statfs failed");
}

}  // namespace
}  // namespace paltrix::storage
