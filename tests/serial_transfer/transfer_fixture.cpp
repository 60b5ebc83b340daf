#include "transfer_fixture.h"

#include <random>

#include "tests/support/file_text.h"

namespace tavix::testing {

std::string TestBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>(i < 256 ? i : random() & 0xFF);
    if (i % 97 == 1) bytes[i] = '@';
    if (i % 97 == 2) bytes[i] = '\r';
  }
  return bytes;
}

std::string Contents(const std::filesystem::path& path) {
  return paltrix::testing::ReadFileText(path);
}

::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t offset = 0;
  while (offset < actual.size() && offset < expected.size() && actual[offset] == expected[offset]) {
    ++offset;
  }
  return ::testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                       << " were expected; first difference at offset " << offset;
}

void WriteContents(const std::filesystem::path& path, const std::string& bytes) {
  paltrix::testing::WriteFileText(path, bytes);
}

TransferFolders::TransferFolders() : out_(temp_ / "out"), in_(temp_ / "in") {
  std::filesystem::create_directories(out_);
  std::filesystem::create_directories(in_);
}

std::string TransferFolders::MakeOutgoing(const std::string& name, std::size_t size,
                                          unsigned seed) {
  std::string bytes = TestBytes(size, seed);
  WriteContents(out_ / name, bytes);
  return bytes;
}

}  // namespace tavix::testing
