#include "xymodem_block.h"

#include "crc_step.h"

namespace tavix {

namespace {

constexpr std::chrono::milliseconds kByteWait{2000};

std::uint8_t Checksum(std::span<const std::uint8_t> data) {
  std::uint8_t sum = 0;
  for (std::uint8_t byte : data) sum = static_cast<std::uint8_t>(sum + byte);
  return sum;
}

}  // namespace

void AppendXmodemBlock(std::vector<std::uint8_t>& out, std::uint8_t number,
                       std::span<const std::uint8_t> data, bool crc) {
  out.push_back(data.size() == kLongBlock ? kStx : kSoh);
  out.push_back(number);
  out.push_back(static_cast<std::uint8_t>(255 - number));
  out.insert(out.end(), data.begin(), data.end());
  if (crc) {
    const std::uint16_t value = Crc16Xmodem(data);
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  } else {
    out.push_back(Checksum(data));
  }
}

ReceivedBlock ReceiveXmodemBlock(TransferSession& session, std::uint8_t expected, bool crc,
                                 std::chrono::milliseconds firstByteWait,
                                 std::array<std::uint8_t, kLongBlock>& data) {
  auto fail = [](BlockOutcome outcome) { return ReceivedBlock{outcome, 0}; };
  const int start = session.Read(firstByteWait);
  if (start == kUserCancel) return fail(BlockOutcome::kUserCancel);
  if (start == kLineTimeout) return fail(BlockOutcome::kTimeOut);
  if (start == kEot) return fail(BlockOutcome::kEndOfFile);
  if (start == kCan) {
    const int second = session.Read(firstByteWait);
    if (second == kUserCancel) return fail(BlockOutcome::kUserCancel);
    return fail(second == kCan ? BlockOutcome::kCancelled : BlockOutcome::kNoise);
  }
  if (start != kSoh && start != kStx) return fail(BlockOutcome::kNoise);

  const std::size_t size = start == kStx ? kLongBlock : kShortBlock;
  // Number, complement, data and check arrive as one run of bytes.
  std::array<std::uint8_t, 2 + kLongBlock + 2> body{};
  const std::size_t bodySize = 2 + size + (crc ? 2 : 1);
  for (std::size_t i = 0; i < bodySize; ++i) {
    const int byte = session.Read(kByteWait);
    if (byte == kUserCancel) return fail(BlockOutcome::kUserCancel);
    if (byte == kLineTimeout) return fail(BlockOutcome::kTimeOut);
    body[i] = static_cast<std::uint8_t>(byte);
  }
  const std::uint8_t number = body[0];
  if (static_cast<std::uint8_t>(255 - number) != body[1]) return fail(BlockOutcome::kBadNumber);
  const std::span<const std::uint8_t> payload(body.data() + 2, size);
  const bool checkOk = crc ? Crc16Xmodem(payload) == ((body[2 + size] << 8) | body[3 + size])
                           : Checksum(payload) == body[2 + size];
  if (!checkOk) return fail(BlockOutcome::kCheckError);
  if (number != expected) {
    return fail(number == static_cast<std::uint8_t>(expected - 1) ? BlockOutcome::kRepeated
                                                                  : BlockOutcome::kBadNumber);
  }
  std::copy(payload.begin(), payload.end(), data.begin());
  return ReceivedBlock{BlockOutcome::kGood, size};
}

}  // namespace tavix
