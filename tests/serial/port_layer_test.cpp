// Opening, closing and configuring ports.

#include <fcntl.h>
#include <sys/file.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fake_timebase.h"
#include "port/device_path.h"
#include "port/port_access.h"
#include "port/port_table.h"
#include "port_fixture.h"
#include "tests/support/temp_directory.h"

namespace tavix::testing {
namespace {

TEST(PortOpenTest, IndexRangeIsZeroToNineteen) {
  linesim::PseudoTerminal line;
  MapPort(19, line.devicePath());
  EXPECT_EQ(SetPort(19, kOwner), TAVIX_PORT_OPENED);
  EXPECT_EQ(GetWindowsPort(19), PortDescriptor(19));
  EXPECT_GE(GetWindowsPort(19), 0);
  ResetPort(19, kOwner);
  EXPECT_EQ(GetWindowsPort(19), -1);

  EXPECT_EQ(SetPort(20, kOwner), TAVIX_PORT_INVALID);
  EXPECT_EQ(SetPort(-1, kOwner), TAVIX_PORT_INVALID);
  EXPECT_EQ(SetPortEx(20, kOwner, 0, 0, 0, 0, 0), TAVIX_PORT_INVALID);
}

TEST(PortOpenTest, MissingDeviceAndHeldDeviceAreTold) {
  MapPort(5, "/dev/no-such-serial-device");
  EXPECT_EQ(SetPort(5, kOwner), TAVIX_PORT_NO_DEVICE);

  linesim::PseudoTerminal line;
  MapPort(5, line.devicePath());
  const int otherProgram = ::open(line.devicePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_EQ(::flock(otherProgram, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(SetPort(5, kOwner), TAVIX_PORT_IN_USE);
  ::close(otherProgram);
  EXPECT_EQ(SetPort(5, kOwner), TAVIX_PORT_OPENED);
  ResetPort(5, kOwner);
}

TEST(PortOpenTest, DeviceFromEnvironmentThenPortsFileThenDefault) {
  paltrix::testing::TempDirectory folder;
  const std::string portsFile = (folder.path() / "ports.conf").string();
  std::ofstream(portsFile) << "# test ports\n\n com4 = /dev/ttyUSB3 \nCOM5=/dev/ttyACM0\n";
  ::setenv("TAVIX_PORTS_FILE", portsFile.c_str(), 1);
  ::unsetenv("TAVIX_COM4");
  ::unsetenv("TAVIX_COM6");
  ::setenv("TAVIX_COM5", "/dev/pts/99", 1);
  EXPECT_EQ(DevicePathForPort(3), "/dev/ttyUSB3");
  EXPECT_EQ(DevicePathForPort(4), "/dev/pts/99");
  EXPECT_EQ(DevicePathForPort(5), "/dev/ttyS5");
  ::unsetenv("TAVIX_PORTS_FILE");
  ::unsetenv("TAVIX_COM5");
}

TEST_F(PortTest, SecondOpenIsRefusedAndKeepsTheFirstOpener) {
  const int device = GetWindowsPort(kPort);
  EXPECT_EQ(SetPort(kPort, 0x9999), TAVIX_PORT_IN_USE);
  EXPECT_EQ(SetPortEx(kPort, 0x9999, 256, 256, 0, 0, 0), TAVIX_PORT_IN_USE);
  EXPECT_EQ(GetWindowsPort(kPort), device);
  EXPECT_EQ(ReceiveQueueSize(kPort), 8192u);

  ResetPort(kPort, 0x9999);  // not the opener's tag: stays open
  EXPECT_EQ(GetWindowsPort(kPort), device);
}

TEST(PortQueueTest, SmallQueueSizesFallBackToTheDefaults) {
  linesim::PseudoTerminal line;
  MapPort(1, line.devicePath());
  ASSERT_EQ(SetPortEx(1, kOwner, 100, 0, 0, 0, 0), TAVIX_PORT_OPENED);
  EXPECT_EQ(ReceiveQueueSize(1), 8192u);
  EXPECT_EQ(TxFree(1), 1152);
  ResetPort(1, kOwner);

  ASSERT_EQ(SetPortEx(1, kOwner, 128, 0x10000 + 300, 0, 0, 0), TAVIX_PORT_OPENED);
  EXPECT_EQ(ReceiveQueueSize(1), 128u);
  EXPECT_EQ(TxFree(1), 300);  // the sizes are 16-bit values
  ResetPort(1, kOwner);
}

TEST_F(PortTest, OpenSetsDefaultOptionsAndOptionsCanBeChanged) {
  EXPECT_TRUE(PortTransferOptions(kPort).zmodemResume);
  EXPECT_FALSE(PortTransferOptions(kPort).ignoreCarrier);
  SetFileXferOptions(kPort, 1, 0, 1, 1);
  const TransferOptions options = PortTransferOptions(kPort);
  EXPECT_TRUE(options.asciiQuiet);
  EXPECT_FALSE(options.zmodemResume);
  EXPECT_TRUE(options.fullPathNames);
  EXPECT_TRUE(options.ignoreCarrier);
  ResetPort(kPort, kOwner);
  ASSERT_EQ(SetPort(kPort, kOwner), TAVIX_PORT_OPENED);
  EXPECT_TRUE(PortTransferOptions(kPort).zmodemResume);
  EXPECT_FALSE(PortTransferOptions(kPort).asciiQuiet);
}

TEST_F(PortTest, RatesAreProgrammedAndReportedWithTheirIndex) {
  int32_t params[5] = {};
  ASSERT_EQ(InitPort(kPort, 57600, 0, 8, 1), 0);
  ASSERT_EQ(GetCommParams(kPort, params), 0);
  EXPECT_EQ(params[0], 56000);
  EXPECT_EQ(params[1], 7);
  EXPECT_EQ(params[2], 8);
  EXPECT_EQ(params[3], 1);
  EXPECT_EQ(params[4], 0);

  // A pseudo-terminal always reads back 8 data bits without parity; rate and stop bits hold.
  ASSERT_EQ(InitPort(kPort, 14400, 2, 7, 2), 0);
  ASSERT_EQ(GetCommParams(kPort, params), 0);
  EXPECT_EQ(params[0], 14400);
  EXPECT_EQ(params[1], 0);
  EXPECT_EQ(params[3], 2);

  ASSERT_EQ(InitPort(kPort, 1200, 1, 8, 1), 0);
  ASSERT_EQ(GetCommParams(kPort, params), 0);
  EXPECT_EQ(params[0], 1200);
  EXPECT_EQ(params[1], 1);
  EXPECT_EQ(params[3], 1);
}

TEST_F(PortTest, InvalidLineSettingsLeaveTheDeviceUnchanged) {
  ASSERT_EQ(InitPort(kPort, 9600, 0, 8, 1), 0);
  EXPECT_EQ(InitPort(kPort, 9600, 3, 8, 1), 2);
  EXPECT_EQ(InitPort(kPort, 9600, 0, 9, 1), 2);
  EXPECT_EQ(InitPort(kPort, 9600, 0, 8, 0), 2);
  EXPECT_EQ(InitPort(kPort, 56000, 0, 8, 1), 2);
  EXPECT_EQ(InitPort(kPort, 230400, 0, 8, 1), 2);
  EXPECT_EQ(InitPort(kPort, 9600, 0, 4, 1), 1);  // valid, but no POSIX device does 4 bits
  int32_t params[5] = {};
  ASSERT_EQ(GetCommParams(kPort, params), 0);
  EXPECT_EQ(params[0], 9600);
  EXPECT_EQ(params[2], 8);

  EXPECT_EQ(InitPort(3, 9600, 0, 8, 1), 1);  // not open
  EXPECT_EQ(GetCommParams(3, params), 1);
}

TEST(PortFlowTest, CtsHandshakeExcludesDsrHandshakeUntilSetTogether) {
  linesim::PseudoTerminal line;
  MapPort(2, line.devicePath());
  ASSERT_EQ(SetPortEx(2, kOwner, 0, 0, 1, 1, 1), TAVIX_PORT_OPENED);
  ASSERT_EQ(InitPort(2, 9600, 0, 8, 1), 0);
  const LineControl& control = OpenPortRecord(2)->state.control;
  EXPECT_TRUE(control.ctsOutputFlow);
  EXPECT_EQ(control.rtsControl, LineHandshake::kHandshake);
  EXPECT_FALSE(control.dsrOutputFlow);
  EXPECT_EQ(control.dtrControl, LineHandshake::kHeldOn);
  EXPECT_TRUE(control.xonXoffInput && control.xonXoffOutput);

  SetFlowControl(2, 1, 0, 1);
  EXPECT_TRUE(control.ctsOutputFlow);
  EXPECT_TRUE(control.dsrOutputFlow);
  EXPECT_EQ(control.dtrControl, LineHandshake::kHandshake);
  EXPECT_FALSE(control.xonXoffInput);
  ResetPort(2, kOwner);
}

TEST_F(PortTest, PseudoTerminalReportsAReadyLine) {
  EXPECT_EQ(ModemStat(kPort), TAVIX_MS_CTS_ON | TAVIX_MS_DSR_ON | TAVIX_MS_RLSD_ON);
  EXPECT_EQ(Iscd(kPort), 1);
  EXPECT_EQ(IsRing(kPort), 0);
  EXPECT_EQ(ModemStat(7), 0);  // closed
  EXPECT_EQ(Iscd(7), 0);

  FakeTimebase clock;
  const std::uint64_t start = clock.NowMs();
  EXPECT_EQ(SendBreak(kPort), 1);
  EXPECT_EQ(clock.NowMs() - start, 4u * 55);
  ModemHangUp(kPort);
  EXPECT_EQ(clock.NowMs() - start, 13u * 55);
}

}  // namespace
}  // namespace tavix::testing

namespace tavix::testing {
namespace {

TEST_F(PortTest, WithoutWindowsMessagesGoToStandardErrorWithTheFirstAnswer) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(DisplayMessage(nullptr, "Zmodem", TAVIX_MB_YESNO | TAVIX_MB_ICONQUESTION,
                           "Resume %s at %lu?", "a.bin", 10000ul),
            TAVIX_ID_YES);
  EXPECT_EQ(DisplayPortError(1), TAVIX_ID_OK);
  OpenPortRecord(kPort)->state.rxQueueOverruns = 2;
  EXPECT_EQ(DisplayErrors(kPort, nullptr), 1);
  const std::string shown = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("Zmodem: Resume a.bin at 10000?\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Port Open Error: No UART Found\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Receive Queue Overruns:  2\n"), std::string::npos) << shown;
}

}  // namespace
}  // namespace tavix::testing
