#include "zmodem_reader.h"

#include <algorithm>

#include "crc_step.h"

namespace tavix::zmodem {

namespace {

constexpr int kMaxHeaderSearch = 9600;
constexpr int kFrameEndFlag = 0x100;
constexpr int kEscapedTimeOut = -1;
constexpr int kEscapedCancelled = -2;
constexpr int kEscapedGarbage = -3;
constexpr int kEscapedUserCancel = -4;
constexpr std::chrono::seconds kLineEndWait{10};

constexpr bool IsFlowControl(int byte) {
  return (byte & 0x7F) == kXon || (byte & 0x7F) == kXoff;
}

// The bytes ReadEscaped does more with than pass them on: ZDLE and flow control.
constexpr std::array<bool, 256> MakeSpecialOnReceive() {
  std::array<bool, 256> special{};
  for (int byte = 0; byte < 256; ++byte) special[byte] = byte == kZdle || IsFlowControl(byte);
  return special;
}
constexpr auto kSpecialOnReceive = MakeSpecialOnReceive();

int HexValue(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

int FrameReader::ReadRaw() {
  const int byte = session_.Read(timeout_);
  if (byte == kUserCancel) {
    userCancelled_ = true;
    return kEscapedUserCancel;
  }
  if (byte == kLineTimeout) return kEscapedTimeOut;
  return byte;
}

int FrameReader::ReadEscaped() {
  for (;;) {
    int byte = ReadRaw();
    if (byte < 0) return byte;
    if (byte != kZdle) {
      if (IsFlowControl(byte)) continue;
      return byte;
    }
    int cans = 1;
    for (;;) {
      byte = ReadRaw();
      if (byte < 0) return byte;
      if (IsFlowControl(byte)) continue;
      if (byte != kZdle) break;
      if (++cans == 5) return kEscapedCancelled;
    }
    if (byte >= kZcrce && byte <= kZcrcw) return kFrameEndFlag | byte;
    if (byte == kZrub0) return 0x7F;
    if (byte == kZrub1) return 0xFF;
    if ((byte & 0x60) == 0x40) return byte ^ 0x40;
    return kEscapedGarbage;
  }
}

std::size_t FrameReader::TakePlainRun(std::span<std::uint8_t> room) {
  const std::span<const std::uint8_t> queued = session_.line.Buffered();
  const std::size_t limit = std::min(queued.size(), room.size());
  std::size_t count = 0;
  while (count < limit && !kSpecialOnReceive[queued[count]]) ++count;
  std::copy_n(queued.begin(), count, room.begin());
  session_.line.Consume(count);
  return count;
}

int FrameReader::ReadHexByte() {
  int value = 0;
  for (int digit = 0; digit < 2; ++digit) {
    int c;
    do {
      c = ReadRaw();
      if (c < 0) return c;
    } while (IsFlowControl(c));
    const int nibble = HexValue(c & 0x7F);
    if (nibble < 0) return kEscapedGarbage;
    value = (value << 4) | nibble;
  }
  return value;
}

int FrameReader::ReadHeader() {
  userCancelled_ = false;
  carrierLost_ = false;
  int cans = 0;
  for (int examined = 0; examined < kMaxHeaderSearch; ++examined) {
    if (session_.progress.Cancelled()) {
      userCancelled_ = true;
      return kZcan;
    }
    if (session_.CarrierLost()) {
      carrierLost_ = true;
      return kHeaderTimeOut;
    }
    int c = ReadRaw();
    if (c == kEscapedUserCancel) return kZcan;
    if (c == kEscapedTimeOut) return kHeaderTimeOut;
    if (c == kZdle) {
      if (++cans >= 5) return kZcan;
      continue;
    }
    cans = 0;
    if ((c & 0x7F) != kZpad) continue;
    // ZPAD seen: more ZPADs may follow, then ZDLE and the encoding.
    do {
      c = ReadRaw();
      if (c < 0) return c == kEscapedTimeOut ? kHeaderTimeOut : kZcan;
      ++examined;
    } while ((c & 0x7F) == kZpad);
    if (c != kZdle) continue;
    c = ReadRaw();
    if (c < 0) return c == kEscapedTimeOut ? kHeaderTimeOut : kZcan;
    if (c == kZdle) {
      cans = 2;
      continue;
    }
    switch (c & 0x7F) {
      case kZbin:
        return ReadBinaryHeader(false, false);
      case kZbin32:
        return ReadBinaryHeader(true, false);
      case kZvbin:
        return ReadBinaryHeader(false, true);
      case kZvbin32:
        return ReadBinaryHeader(true, true);
      case kZhex:
        return ReadHexHeader(false);
      case kZvhex:
        return ReadHexHeader(true);
      default:
        break;
    }
  }
  return kHeaderError;
}

int FrameReader::ReadBinaryHeader(bool crc32, bool variable) {
  lastCrc32_ = crc32;
  lastVariable_ = variable;
  std::size_t length = 4;
  if (variable) {
    const int raw = ReadRaw();
    if (raw < 0) return raw == kEscapedTimeOut ? kHeaderTimeOut : kZcan;
    if (raw > static_cast<int>(kMaxHeaderData)) return kHeaderError;
    length = static_cast<std::size_t>(raw);
  }
  // Type, data and CRC arrive escaped.
  std::array<std::uint8_t, 1 + kMaxHeaderData + 4> bytes{};
  const std::size_t total = 1 + length + (crc32 ? 4 : 2);
  for (std::size_t i = 0; i < total; ++i) {
    const int byte = ReadEscaped();
    if (byte == kEscapedTimeOut) return kHeaderTimeOut;
    if (byte == kEscapedCancelled || byte == kEscapedUserCancel) return kZcan;
    if (byte < 0 || byte > 0xFF) return kHeaderError;
    bytes[i] = static_cast<std::uint8_t>(byte);
  }
  const std::span<const std::uint8_t> all(bytes.data(), total);
  const bool good = crc32 ? Crc32Update(0xFFFFFFFF, all) == kCrc32Residue : Crc16Xmodem(all) == 0;
  if (!good) return kHeaderCrcError;
  headerLength_ = length;
  data_ = {};
  std::copy_n(bytes.begin() + 1, length, data_.begin());
  return bytes[0];
}

int FrameReader::ReadHexHeader(bool variable) {
  lastCrc32_ = false;
  lastVariable_ = variable;
  std::size_t length = 4;
  if (variable) {
    const int value = ReadHexByte();
    if (value == kEscapedTimeOut) return kHeaderTimeOut;
    if (value < 0) return value == kEscapedUserCancel ? kZcan : kHeaderError;
    if (value > static_cast<int>(kMaxHeaderData)) return kHeaderError;
    length = static_cast<std::size_t>(value);
  }
  std::array<std::uint8_t, 1 + kMaxHeaderData + 2> bytes{};
  const std::size_t total = 1 + length + 2;
  for (std::size_t i = 0; i < total; ++i) {
    const int value = ReadHexByte();
    if (value == kEscapedTimeOut) return kHeaderTimeOut;
    if (value < 0) return value == kEscapedUserCancel ? kZcan : kHeaderError;
    bytes[i] = static_cast<std::uint8_t>(value);
  }
  if (Crc16Xmodem(std::span<const std::uint8_t>(bytes.data(), total)) != 0) {
    return kHeaderCrcError;
  }
  // The line end: CR (and LF, possibly with bit 7), read so it is not taken for data.
  const auto lineEndWait = std::min<std::chrono::milliseconds>(timeout_, kLineEndWait);
  const int first = session_.Read(lineEndWait);
  if ((first & 0x7F) == '\r') {
    const int second = session_.Read(lineEndWait);
    if ((second & 0x7F) == '\r') session_.Read(lineEndWait);
  }
  headerLength_ = length;
  data_ = {};
  std::copy_n(bytes.begin() + 1, length, data_.begin());
  return bytes[0];
}

Subpacket FrameReader::ReadSubpacket(std::span<std::uint8_t> buffer, bool crc32) {
  Subpacket packet;
  auto fail = [&packet](SubpacketError error) {
    packet.error = error;
    return packet;
  };
  auto failFor = [&](int code) {
    switch (code) {
      case kEscapedTimeOut:
        return fail(SubpacketError::kTimeOut);
      case kEscapedCancelled:
        return fail(SubpacketError::kCancelled);
      case kEscapedUserCancel:
        return fail(SubpacketError::kUserCancel);
      default:
        return fail(SubpacketError::kGarbage);
    }
  };
  std::uint32_t crc32Register = 0xFFFFFFFF;
  std::uint16_t crc16 = 0;
  for (;;) {
    packet.length += TakePlainRun(buffer.subspan(packet.length));
    const int byte = ReadEscaped();
    if (byte < 0) return failFor(byte);
    if (byte & kFrameEndFlag) {
      packet.frameEnd = static_cast<std::uint8_t>(byte & 0xFF);
      break;
    }
    if (packet.length == buffer.size()) return fail(SubpacketError::kLongPacket);
    buffer[packet.length++] = static_cast<std::uint8_t>(byte);
  }
  const std::span<const std::uint8_t> data(buffer.data(), packet.length);
  if (crc32) {
    crc32Register = Crc32Step(Crc32Update(crc32Register, data), packet.frameEnd);
  } else {
    crc16 = Crc16Step(Crc16Xmodem(data), packet.frameEnd);
  }
  for (int i = 0; i < (crc32 ? 4 : 2); ++i) {
    const int byte = ReadEscaped();
    if (byte < 0) return failFor(byte);
    if (byte & kFrameEndFlag) return fail(SubpacketError::kGarbage);
    if (crc32) {
      crc32Register = Crc32Step(crc32Register, static_cast<std::uint8_t>(byte));
    } else {
      crc16 = Crc16Step(crc16, static_cast<std::uint8_t>(byte));
    }
  }
  const bool good = crc32 ? crc32Register == kCrc32Residue : crc16 == 0;
  if (!good) return fail(SubpacketError::kCrcError);
  return packet;
}

}  // namespace tavix::zmodem
