// Capture to a file through the C exports: the buffer is written when full, at a file change
// and at the end; an unwritable file keeps the bytes, says so once, and never overruns.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tavix32.h"
#include "terminal/capture_table.h"

namespace tavix::terminal {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Capture : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("tavix-capture-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
    SetCaptureReporter([this](const std::string& message) { messages_.push_back(message); });
  }
  void TearDown() override {
    SetCaptureBuf(kPort, 0);
    SetCaptureReporter({});
    fs::remove_all(directory_);
  }

  static constexpr int kPort = 3;
  fs::path directory_;
  std::vector<std::string> messages_;
};

TEST_F(Capture, FullBufferIsWrittenAndStartsAgain) {
  const fs::path file = directory_ / "session.cap";
  ASSERT_EQ(SetCaptureBuf(kPort, 1), 0);
  SetCaptureFile(kPort, file.c_str());
  std::string sent;
  for (std::size_t i = 0; i < kCaptureWriteThreshold; ++i) {
    sent.push_back(static_cast<char>(i * 7));
    CapPutc(kPort, static_cast<std::uint8_t>(i * 7));
  }
  EXPECT_TRUE(ReadFile(file) == sent);
  EXPECT_EQ(CaptureOf(kPort)->Count(), 0u);

  CapPuts(kPort, "tail");
  SetCaptureBuf(kPort, 0);
  EXPECT_TRUE(ReadFile(file) == sent + "tail");
  EXPECT_FALSE(IsCapturing(kPort));
  CapPuts(kPort, "ignored");
  EXPECT_TRUE(ReadFile(file) == sent + "tail");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(Capture, ChangingTheFileWritesToThePreviousOne) {
  ASSERT_EQ(SetCaptureBuf(kPort, 1), 0);
  SetCaptureFile(kPort, (directory_ / "a.cap").c_str());
  CapPuts(kPort, "first");
  SetCaptureFile(kPort, (directory_ / "b.cap").c_str());
  CapPuts(kPort, "second");
  SetCaptureBuf(kPort, 0);
  EXPECT_EQ(ReadFile(directory_ / "a.cap"), "first");
  EXPECT_EQ(ReadFile(directory_ / "b.cap"), "second");
}

TEST_F(Capture, UnwritableFileKeepsTheBufferSaysSoOnceAndNeverOverruns) {
  const fs::path missing = directory_ / "later" / "session.cap";
  ASSERT_EQ(SetCaptureBuf(kPort, 1), 0);
  SetCaptureFile(kPort, missing.c_str());
  std::string kept;
  for (std::size_t i = 0; i < kCaptureBufferSize + 5000; ++i) {
    const auto byte = static_cast<std::uint8_t>(i % 251);
    if (i < kCaptureBufferSize) kept.push_back(static_cast<char>(byte));
    CapPutc(kPort, byte);
  }
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find(missing.string()), std::string::npos);
  EXPECT_EQ(CaptureOf(kPort)->Count(), kCaptureBufferSize);
  EXPECT_EQ(CaptureOf(kPort)->Dropped(), 5000u);

  fs::create_directories(missing.parent_path());
  CapPutc(kPort, 'Z');
  EXPECT_TRUE(ReadFile(missing) == kept) << "the next byte writes everything kept";
  SetCaptureBuf(kPort, 0);
  EXPECT_TRUE(ReadFile(missing) == kept + "Z");
  EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(Capture, DefaultNameCountsFromFour) {
  const fs::path previous = fs::current_path();
  fs::current_path(directory_);
  ASSERT_EQ(SetCaptureBuf(1, 1), 0);
  CapPuts(1, "x");
  SetCaptureBuf(1, 0);
  fs::current_path(previous);
  EXPECT_EQ(ReadFile(directory_ / "TERM5.CAP"), "x");
  EXPECT_EQ(SetCaptureBuf(TAVIX_PORT_COUNT, 1), 1);
}

TEST(ProtocolNames, MatchWithoutCase) {
  EXPECT_EQ(GetProtoNum("ymodem-g"), 5);
  EXPECT_EQ(GetProtoNum("ZMODEM"), 6);
  EXPECT_EQ(GetProtoNum("Xmodem 1K"), 2);
  EXPECT_EQ(GetProtoNum("Kermit"), -1);
  EXPECT_EQ(GetProtoNum("Xmodem 1"), -1);
  EXPECT_EQ(GetProtoNum(nullptr), -1);
}

}  // namespace
}  // namespace tavix::terminal
