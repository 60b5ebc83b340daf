// Queue purging and counts, and the modem control and status lines.

#include <sys/ioctl.h>

#include <algorithm>

#include "port/port_access.h"
#include "port/port_io.h"
#include "port/port_table.h"

namespace tavix {
namespace {

// Modem status as the library reports it: the TAVIX_MS_* bits.
constexpr int32_t kNoModemLinesStatus = TAVIX_MS_CTS_ON | TAVIX_MS_DSR_ON | TAVIX_MS_RLSD_ON;

void SetModemLine(int port, int line, bool on) {
  if (PortRecord* record = OpenPortRecord(port); record != nullptr)
    ::ioctl(record->state.device, on ? TIOCMBIS : TIOCMBIC, &line);
}

// Sizes held in 32-bit results.
int32_t AsResult(std::size_t count) {
  return static_cast<int32_t>(std::min<std::size_t>(count, INT32_MAX));
}

}  // namespace

bool CarrierDetected(int port) {
  return (ModemStat(port) & TAVIX_MS_RLSD_ON) != 0;
}

}  // namespace tavix

using namespace tavix;

extern "C" void ClrBuf(int32_t port) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return;
  CountLineErrors(*record);
  DiscardInput(*record);
  DiscardOutput(*record);
}

extern "C" void ClrRecvBuf(int32_t port) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return;
  CountLineErrors(*record);
  DiscardInput(*record);
}

extern "C" void ClrTransBuf(int32_t port) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return;
  CountLineErrors(*record);
  DiscardOutput(*record);
}

extern "C" int32_t RecvCount(int32_t port) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 0;
  CountLineErrors(*record);
  return AsResult(QueuedInputOf(*record));
}

extern "C" int32_t Rxempty(int32_t port) {
  return RecvCount(port) == 0 ? 1 : 0;
}

extern "C" int32_t TxUsed(int32_t port) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 0;
  CountLineErrors(*record);
  return AsResult(PendingOutputOf(*record));
}

extern "C" int32_t TxFree(int32_t port) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 0;
  return std::max<int32_t>(0, record->state.txQueueSize - TxUsed(port));
}

extern "C" void Dtr(int32_t port, int32_t on) {
  SetModemLine(port, TIOCM_DTR, on != 0);
}

extern "C" void Rts(int32_t port, int32_t on) {
  SetModemLine(port, TIOCM_RTS, on != 0);
}

extern "C" int32_t ModemStat(int32_t port) {
  const PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 0;
  int lines = 0;
  if (::ioctl(record->state.device, TIOCMGET, &lines) != 0)
    // A device without modem lines (a pseudo-terminal) reports a line that is always ready.
    return (errno == ENOTTY || errno == EINVAL) ? kNoModemLinesStatus : 0;
  int32_t status = 0;
  if (lines & TIOCM_CTS) status |= TAVIX_MS_CTS_ON;
  if (lines & TIOCM_DSR) status |= TAVIX_MS_DSR_ON;
  if (lines & TIOCM_RNG) status |= TAVIX_MS_RING_ON;
  if (lines & TIOCM_CAR) status |= TAVIX_MS_RLSD_ON;
  return status;
}

extern "C" int32_t Iscd(int32_t port) {
  return CarrierDetected(port) ? 1 : 0;
}

extern "C" int32_t IsRing(int32_t port) {
  constexpr int32_t kRingTrailingEdge = 0x04;
  return (ModemStat(port) & (TAVIX_MS_RING_ON | kRingTrailingEdge)) != 0 ? 1 : 0;
}

extern "C" void ModemHangUp(int32_t port) {
  Dtr(port, 0);
  ComDelay(nullptr, 9);
}
