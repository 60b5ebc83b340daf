// Line settings: rate, framing and flow control, programmed with the termios2 interface so that
// any rate (14400, 56000) can be set, not only the classic B-constants.
//
// This file talks to the kernel's own termios structures, which cannot share a translation
// unit with the C library's <termios.h>.

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "port/port_table.h"

namespace tavix {
namespace {

constexpr std::array<int32_t, 11> kAcceptedRates = {110,   300,   1200,  2400,  4800,  9600,
                                                    14400, 19200, 38400, 57600, 115200};

// The terminal's rate list: a rate's position in it is its rate index (0: not in the list).
constexpr std::array<std::pair<uint32_t, int32_t>, 9> kRateIndexes = {{{1200, 1},
                                                                       {2400, 2},
                                                                       {4800, 3},
                                                                       {9600, 4},
                                                                       {19200, 5},
                                                                       {38400, 6},
                                                                       {56000, 7},
                                                                       {57600, 7},
                                                                       {115200, 8}}};

// The classic B-constants, for devices whose settings were last made with one.
constexpr std::array<std::pair<unsigned, uint32_t>, 16> kClassicRates = {{{B50, 50},
                                                                          {B75, 75},
                                                                          {B110, 110},
                                                                          {B134, 134},
                                                                          {B150, 150},
                                                                          {B200, 200},
                                                                          {B300, 300},
                                                                          {B600, 600},
                                                                          {B1200, 1200},
                                                                          {B1800, 1800},
                                                                          {B2400, 2400},
                                                                          {B4800, 4800},
                                                                          {B9600, 9600},
                                                                          {B19200, 19200},
                                                                          {B38400, 38400},
                                                                          {B57600, 57600}}};

constexpr int32_t kInitSet = 0;
constexpr int32_t kInitRefused = 1;
constexpr int32_t kInitInvalid = 2;

bool ReadSettings(int device, termios2& settings) {
  return ::ioctl(device, TCGETS2, &settings) == 0;
}

bool WriteSettings(int device, const termios2& settings) {
  return ::ioctl(device, TCSETS2, &settings) == 0;
}

uint32_t ProgrammedRate(const termios2& settings) {
  const unsigned code = settings.c_cflag & CBAUD;
  if (code == BOTHER) return settings.c_ospeed;
  if (code == B115200) return 115200;
  for (const auto& [constant, rate] : kClassicRates)
    if (constant == code) return rate;
  return settings.c_ospeed;
}

// Programs the flow-control flags into both the line-control record and the termios bits.
// DSR/DTR handshake has no termios counterpart: it is recorded only.
void ProgramFlowControl(PortState& state, termios2& settings, bool ctsRts, bool xonXoff,
                        bool dsrDtr) {
  SetFlowBits(state.control, ctsRts, xonXoff, dsrDtr);
  settings.c_cflag &= ~static_cast<unsigned>(CRTSCTS);
  if (ctsRts) settings.c_cflag |= CRTSCTS;
  settings.c_iflag &= ~static_cast<unsigned>(IXON | IXOFF | IXANY);
  if (xonXoff) settings.c_iflag |= IXON | IXOFF;
  settings.c_cc[VSTART] = 0x11;
  settings.c_cc[VSTOP] = 0x13;
}

bool ValidLine(int32_t baud, int32_t parity, int32_t dataBits, int32_t stopBits) {
  return std::find(kAcceptedRates.begin(), kAcceptedRates.end(), baud) != kAcceptedRates.end() &&
         parity >= 0 && parity <= 2 && dataBits >= 4 && dataBits <= 8 &&
         (stopBits == 1 || stopBits == 2);
}

}  // namespace
}  // namespace tavix

using namespace tavix;

extern "C" int32_t InitPort(int32_t port, int32_t baud, int32_t parity, int32_t dataBits,
                            int32_t stopBits) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return kInitRefused;
  PortState& state = record->state;
  termios2 settings{};
  if (!ReadSettings(state.device, settings)) return kInitRefused;
  if (!ValidLine(baud, parity, dataBits, stopBits)) return kInitInvalid;
  // The POSIX line discipline has no 4-bit characters: the device refuses them.
  if (dataBits < 5) return kInitRefused;

  // 57600 is programmed as 56000, the rate this line setting has always produced.
  const auto rate = static_cast<uint32_t>(baud == 57600 ? 56000 : baud);
  settings.c_cflag &=
      ~static_cast<unsigned>(CBAUD | CIBAUD | CSIZE | CSTOPB | PARENB | PARODD | HUPCL);
  settings.c_cflag |= BOTHER | CREAD | CLOCAL;
  settings.c_ispeed = settings.c_ospeed = rate;
  static constexpr std::array<unsigned, 4> kSizes = {CS5, CS6, CS7, CS8};
  settings.c_cflag |= kSizes[static_cast<std::size_t>(dataBits - 5)];
  if (stopBits == 2) settings.c_cflag |= CSTOPB;
  if (parity != 0) settings.c_cflag |= PARENB | (parity == 1 ? PARODD : 0u);

  // Binary mode: no character is translated, dropped or interpreted.
  settings.c_iflag &= ~static_cast<unsigned>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                             ICRNL | IUCLC | IMAXBEL);
  settings.c_iflag |= INPCK;
  settings.c_oflag &= ~static_cast<unsigned>(OPOST);
  settings.c_lflag &= ~static_cast<unsigned>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;

  // CTS/RTS handshake excludes DSR/DTR handshake.
  if (state.ctsRtsFlow != 0) state.dsrDtrFlow = 0;
  PortState candidate = state;  // the record changes only when the device takes the settings
  ProgramFlowControl(candidate, settings, state.ctsRtsFlow != 0, state.xonXoffFlow != 0,
                     state.dsrDtrFlow != 0);
  if (!WriteSettings(state.device, settings)) return kInitRefused;
  state.control = candidate.control;
  return kInitSet;
}

extern "C" void SetFlowControl(int32_t port, int32_t ctsRts, int32_t xonXoff, int32_t dsrDtr) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return;
  PortState& state = record->state;
  termios2 settings{};
  if (!ReadSettings(state.device, settings)) return;
  state.ctsRtsFlow = ctsRts;
  state.xonXoffFlow = xonXoff;
  state.dsrDtrFlow = dsrDtr;
  ProgramFlowControl(state, settings, ctsRts != 0, xonXoff != 0, dsrDtr != 0);
  WriteSettings(state.device, settings);
}

extern "C" int32_t GetCommParams(int32_t port, int32_t* out) {
  const PortRecord* record = OpenPortRecord(port);
  if (record == nullptr || out == nullptr) return 1;
  termios2 settings{};
  if (!ReadSettings(record->state.device, settings)) return 2;
  const uint32_t rate = ProgrammedRate(settings);
  out[0] = static_cast<int32_t>(rate);
  out[1] = 0;
  for (const auto& [listed, index] : kRateIndexes)
    if (listed == rate) out[1] = index;
  switch (settings.c_cflag & CSIZE) {
    case CS5:
      out[2] = 5;
      break;
    case CS6:
      out[2] = 6;
      break;
    case CS7:
      out[2] = 7;
      break;
    default:
      out[2] = 8;
      break;
  }
  out[3] = (settings.c_cflag & CSTOPB) ? 2 : 1;
  out[4] = !(settings.c_cflag & PARENB) ? 0 : (settings.c_cflag & PARODD) ? 1 : 2;
  return 0;
}
