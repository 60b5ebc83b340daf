#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_directory.h"

namespace tavix::testing {

// Bytes for a test file: every byte value, "@" followed by CR, and the Zmodem control bytes,
// in an order fixed by `seed`.
std::string TestBytes(std::size_t size, unsigned seed);

std::string Contents(const std::filesystem::path& path);

// Compares file bytes without printing them: sizes and the first differing offset.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected);
void WriteContents(const std::filesystem::path& path, const std::string& bytes);

// A temporary folder with "out" (files to send) and "in" (where received files land).
class TransferFolders : public ::testing::Test {
 protected:
  TransferFolders();
  // Writes a test file into out/ and returns its bytes.
  std::string MakeOutgoing(const std::string& name, std::size_t size, unsigned seed);

  paltrix::testing::TempDirectory temp_;
  std::filesystem::path out_;
  std::filesystem::path in_;
};

}  // namespace tavix::testing
