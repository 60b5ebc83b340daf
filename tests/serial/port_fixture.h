#pragma once

// A library port (COM1 unless chosen otherwise) whose device is a fresh pseudo-terminal; the
// test plays the far end through the master side.

#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pseudo_terminal.h"
#include "tavix32.h"

namespace tavix::testing {

inline constexpr std::uintptr_t kOwner = 0x5150;

// Points COM(port+1) at `device` for the library.
inline void MapPort(int port, const std::string& device) {
  ::setenv(("TAVIX_COM" + std::to_string(port + 1)).c_str(), device.c_str(), 1);
}

class PortTest : public ::testing::Test {
 protected:
  static constexpr int kPort = 0;

  void SetUp() override {
    MapPort(kPort, line_.devicePath());
    ASSERT_EQ(SetPort(kPort, kOwner), TAVIX_PORT_OPENED);
    ASSERT_EQ(InitPort(kPort, 115200, 0, 8, 1), 0);
  }

  void TearDown() override { ResetPort(kPort, kOwner); }

  // Sends bytes from the far end and waits until the library's device has them queued.
  void SendFromPeer(const std::string& bytes) {
    const std::size_t before = static_cast<std::size_t>(RecvCount(kPort));
    ASSERT_EQ(::write(line_.master(), bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
    for (int round = 0;
         round < 1000 && static_cast<std::size_t>(RecvCount(kPort)) < before + bytes.size();
         ++round)
      ::usleep(1000);
    ASSERT_EQ(static_cast<std::size_t>(RecvCount(kPort)), before + bytes.size());
  }

  // Everything the far end has received so far (waits briefly for `expected` bytes).
  std::string ReceivedByPeer(std::size_t expected = 0) {
    std::string received;
    char buffer[4096];
    for (int round = 0; round < 1000; ++round) {
      const ssize_t got = ::read(line_.master(), buffer, sizeof buffer);
      if (got > 0) received.append(buffer, static_cast<std::size_t>(got));
      if (received.size() >= expected && got <= 0) break;
      if (got <= 0) ::usleep(1000);
    }
    return received;
  }

  linesim::PseudoTerminal line_;
};

}  // namespace tavix::testing
