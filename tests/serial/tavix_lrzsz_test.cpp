// `tavix` against lrzsz over a pseudo-terminal line, both directions, byte-exact files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "line_simulator.h"
#include "serial_peer.h"
#include "tests/support/temp_directory.h"

namespace {

namespace fs = std::filesystem;
using paltrix::testing::TempDirectory;
using tavix::testing::kLrzszLineLatency;
using tavix::testing::SerialPeer;

// tavix itself talks over the port named on its command line, not its standard streams.
const std::string kNoDevice = "/dev/null";

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteRandomFile(const fs::path& file, std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());  // every control character too
  std::ofstream(file, std::ios::binary) << bytes;
}

struct Case {
  const char* protocol;
  const char* lrzszSend;
  const char* lrzszReceive;
};

class TavixLine : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "out");
    fs::create_directories(root_ / "in");
    WriteRandomFile(root_ / "out" / "random.bin", 70000, 7);
    WriteRandomFile(root_ / "out" / "one.bin", 1, 8);
    WriteRandomFile(root_ / "out" / "empty.bin", 0, 9);
  }

  std::string Log() const { return Contents(root_ / "tavix.log") + Contents(root_ / "peer.log"); }

  void SendWithTavix(const Case& test) {
    SerialPeer peer({test.lrzszReceive, "-q", "-y"}, root_ / "in", line_.endB(),
                    root_ / "peer.log");
    const std::vector<std::string> files = {"random.bin", "one.bin", "empty.bin"};
    std::vector<std::string> command = {TAVIX_EXECUTABLE, "send",        "--port", line_.endA(),
                                        "--protocol",     test.protocol, "--quiet"};
    for (const std::string& file : files) command.push_back((root_ / "out" / file).string());
    SerialPeer tavix(command, root_.path(), kNoDevice, root_ / "tavix.log");
    EXPECT_EQ(tavix.Finish(), 0) << Log();
    EXPECT_EQ(peer.Finish(), 0) << Log();
    for (const std::string& file : files)
      EXPECT_EQ(Contents(root_ / "in" / file), Contents(root_ / "out" / file)) << file << Log();
  }

  TempDirectory root_;
  tavix::linesim::LineSimulator line_{{.latency = kLrzszLineLatency}};
};

class TavixLrzszTest : public TavixLine, public ::testing::WithParamInterface<Case> {};

TEST_F(TavixLine, TavixSendsZmodemToRz) {
  SendWithTavix({"zmodem", "sz", "rz"});
}

TEST_F(TavixLine, TavixSendsYmodemToRb) {
  SendWithTavix({"ymodem", "sb", "rb"});
}

TEST_P(TavixLrzszTest, LrzszSendsAndTavixReceives) {
  const Case& test = GetParam();
  SerialPeer tavix({TAVIX_EXECUTABLE, "receive", "--port", line_.endA(), "--protocol",
                    test.protocol, "--quiet", "--dir", (root_ / "in").string()},
                   root_.path(), kNoDevice, root_ / "tavix.log");
  SerialPeer peer({test.lrzszSend, "-q", "random.bin", "one.bin", "empty.bin"}, root_ / "out",
                  line_.endB(), root_ / "peer.log");
  EXPECT_EQ(peer.Finish(), 0) << Log();
  EXPECT_EQ(tavix.Finish(), 0) << Log();
  for (const char* file : {"random.bin", "one.bin", "empty.bin"})
    EXPECT_EQ(Contents(root_ / "in" / file), Contents(root_ / "out" / file)) << file << Log();
}

INSTANTIATE_TEST_SUITE_P(Batches, TavixLrzszTest,
                         ::testing::Values(Case{"zmodem", "sz", "rz"}, Case{"ymodem", "sb", "rb"}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.protocol);
                         });

}  // namespace
