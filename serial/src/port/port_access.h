#pragma once

// What the transfer and terminal code of the library needs from a port beyond the C exports.
// Every function takes a port index; an index outside 0..19 or a closed port makes each of them
// fail safely (false, -1, 0 or nothing), never crash. All run on the caller's thread; the waits
// process the caller's Qt events (see ProcessEvents).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "tavix32.h"

namespace tavix {

// The options SetFileXferOptions stores for a port.
struct TransferOptions {
  bool asciiQuiet = false;
  bool zmodemResume = false;
  bool fullPathNames = false;
  bool ignoreCarrier = false;
};

// Returned by ReadByte when nothing arrived in time.
inline constexpr int kReadTimedOut = -1;

// The write time-out: a write gives up when the line has accepted nothing for this long.
inline constexpr std::chrono::milliseconds kWriteTimeout{5000};

bool IsPortOpen(int port);

// The open device's file descriptor, or -1.
int PortDescriptor(int port);

// The port's receive queue size: the most any single read of the library returns.
std::size_t ReceiveQueueSize(int port);

TransferOptions PortTransferOptions(int port);

// Writes all bytes with as few system calls as the line allows (one when it takes the whole
// block), waiting while the line is full. Returns the number of bytes written: fewer than
// bytes.size() only when the line accepted nothing for kWriteTimeout, the port is closed, or
// `window` was asked to close during a wait.
std::size_t WriteBlock(int port, std::span<const std::uint8_t> bytes, TavixWindow window = nullptr);

// Copies up to min(buffer.size(), receive queue size) received bytes into buffer, waiting up
// to `timeout` for the first one (zero: only what is queued). Returns the count; 0 when
// nothing came in time or the wait was stopped by a closing window.
std::size_t ReadAvailable(int port, std::span<std::uint8_t> buffer,
                          std::chrono::milliseconds timeout, TavixWindow window = nullptr);

// The next received byte 0..255, or kReadTimedOut when none arrived within `timeout`.
int ReadByte(int port, std::chrono::milliseconds timeout, TavixWindow window = nullptr);

// Received bytes queued (the library's read-ahead and the device's queue).
std::size_t QueuedInput(int port);

// Moves up to buffer.size() bytes that the library has already read ahead from the device (by
// ComGetc, ComGets or ReadByte) into buffer and returns the count. Code that reads the descriptor
// itself takes these first, or it would miss bytes received before it started.
std::size_t TakeReadAhead(int port, std::span<std::uint8_t> buffer);

// Gives `byte`, the byte ReadByte returned last, back to the read-ahead, so the next read
// returns it again. False when the read-ahead no longer holds it there.
bool UnreadByte(int port, std::uint8_t byte);

// Drops every received byte not yet read (the read-ahead and the device's queue).
void PurgeInput(int port);

// Waits until the device has sent everything written, at most `timeout`. False on time-out.
bool DrainOutput(int port, std::chrono::milliseconds timeout);

// True while carrier detect is on (always for devices without modem-status lines).
bool CarrierDetected(int port);

// Hands a transfer's progress to the callback set with SetTransferProgressCallback, if any.
void ReportTransferProgress(int port, const TavixTransferProgress& progress);

// Processes the calling thread's pending Qt events once. False when the application is
// quitting or `window` is being closed (the request is passed on again for the caller's own
// event loop, as ComDelay does). Without a QCoreApplication it returns true.
bool ProcessEvents(TavixWindow window);

}  // namespace tavix
