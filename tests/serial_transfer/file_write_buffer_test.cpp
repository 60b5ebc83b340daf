// Received files are written through FileWriteBuffer: every byte lands once, in order, and a
// failed write is reported by the call that made it.
#include <fcntl.h>
#include <gtest/gtest.h>

#include "file_io.h"
#include "transfer_fixture.h"

namespace tavix::testing {
namespace {

class FileWriteBufferTest : public TransferFolders {};

TEST_F(FileWriteBufferTest, PiecesOfEverySizeLandInOrder) {
  const std::string bytes = TestBytes(3 * FileWriteBuffer::kCapacity + 777, 9);
  const auto path = in_ / "f.bin";
  UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  ASSERT_TRUE(file.Valid());
  FileWriteBuffer buffer;
  buffer.Attach(file.Get());
  // Small pieces, one that just fills the buffer, one larger than it, and a flush in between.
  const std::size_t pieces[] = {
      1, 1023, FileWriteBuffer::kCapacity - 1024, FileWriteBuffer::kCapacity + 5, 1024, 0};
  std::size_t offset = 0;
  for (const std::size_t piece : pieces) {
    ASSERT_TRUE(
        buffer.Append({reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset, piece}));
    offset += piece;
  }
  EXPECT_EQ(Contents(path).size(), 2 * FileWriteBuffer::kCapacity + 5) << "only full blocks out";
  ASSERT_TRUE(buffer.Flush());
  ASSERT_TRUE(buffer.Append(
      {reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset, bytes.size() - offset}));
  ASSERT_TRUE(buffer.Flush());
  EXPECT_TRUE(SameBytes(Contents(path), bytes));
}

TEST_F(FileWriteBufferTest, AFullDiskFailsTheFlushOrTheAppendThatWrites) {
  UniqueFd full(::open("/dev/full", O_WRONLY | O_CLOEXEC));
  ASSERT_TRUE(full.Valid());
  const std::vector<std::uint8_t> small(100, 0x55);
  FileWriteBuffer buffer;
  buffer.Attach(full.Get());
  EXPECT_TRUE(buffer.Append(small));
  EXPECT_FALSE(buffer.Flush());
  EXPECT_TRUE(buffer.Flush()) << "the failed bytes are not written twice";

  const std::vector<std::uint8_t> large(FileWriteBuffer::kCapacity, 0x55);
  EXPECT_TRUE(buffer.Append(small));
  EXPECT_FALSE(buffer.Append(large));
}

}  // namespace
}  // namespace tavix::testing
