#include "zmodem_wire.h"

#include "crc_step.h"

namespace tavix::zmodem {

namespace {

enum EscapeRule : std::uint8_t { kPlain, kAlways, kAfterAt, kIfControls };

constexpr std::array<EscapeRule, 256> MakeEscapeRules() {
  std::array<EscapeRule, 256> rules{};
  for (int byte = 0; byte < 256; ++byte) {
    if ((byte & 0x7F) < 0x20) rules[byte] = kIfControls;
  }
  for (int byte : {0x10, 0x11, 0x13, 0x18, 0x90, 0x91, 0x93}) rules[byte] = kAlways;
  rules[0x0D] = kAfterAt;
  rules[0x8D] = kAfterAt;
  return rules;
}

constexpr auto kEscapeRules = MakeEscapeRules();
constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHex(std::vector<std::uint8_t>& out, std::uint8_t byte) {
  out.push_back(static_cast<std::uint8_t>(kHexDigits[byte >> 4]));
  out.push_back(static_cast<std::uint8_t>(kHexDigits[byte & 0x0F]));
}

}  // namespace

HeaderData PositionData(std::uint32_t position) {
  HeaderData data{};
  for (int i = 0; i < 4; ++i) data[i] = static_cast<std::uint8_t>(position >> (8 * i));
  return data;
}

std::uint32_t DataPosition(const HeaderData& data) {
  return data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
}

void FrameWriter::SetEscapeControls(bool on) {
  escapeControls_ = on;
}

void FrameWriter::AppendRaw(std::vector<std::uint8_t>& out, std::uint8_t byte) {
  out.push_back(byte);
  lastSent_ = byte;
}

void FrameWriter::AppendEscaped(std::vector<std::uint8_t>& out,
                                std::span<const std::uint8_t> bytes) {
  // Room for the worst case (every byte escaped), trimmed to what was written.
  const std::size_t start = out.size();
  out.resize(start + 2 * bytes.size());
  std::uint8_t* next = out.data() + start;
  std::uint8_t last = lastSent_;
  for (std::uint8_t byte : bytes) {
    bool escape;
    switch (kEscapeRules[byte]) {
      case kPlain:
        escape = false;
        break;
      case kAlways:
        escape = true;
        break;
      case kAfterAt:
        escape = escapeControls_ || (last & 0x7F) == '@';
        break;
      default:
        escape = escapeControls_;
        break;
    }
    if (escape) {
      *next++ = kZdle;
      byte ^= 0x40;
    }
    *next++ = byte;
    last = byte;
  }
  out.resize(static_cast<std::size_t>(next - out.data()));
  lastSent_ = last;
}

void FrameWriter::AppendHexHeader(std::vector<std::uint8_t>& out, int type,
                                  std::span<const std::uint8_t> data, bool variableLength) {
  for (std::uint8_t byte : {kZpad, kZpad, kZdle}) out.push_back(byte);
  out.push_back(variableLength ? kZvhex : kZhex);
  if (variableLength) AppendHex(out, static_cast<std::uint8_t>(data.size()));
  const auto typeByte = static_cast<std::uint8_t>(type);
  AppendHex(out, typeByte);
  std::uint16_t crc = Crc16Step(0, typeByte);
  for (std::uint8_t byte : data) {
    AppendHex(out, byte);
    crc = Crc16Step(crc, byte);
  }
  AppendHex(out, static_cast<std::uint8_t>(crc >> 8));
  AppendHex(out, static_cast<std::uint8_t>(crc & 0xFF));
  out.push_back('\r');
  out.push_back('\n');
  lastSent_ = '\n';
  if (type != kZfin && type != kZack) AppendRaw(out, kXon);
}

void FrameWriter::AppendBinaryHeader(std::vector<std::uint8_t>& out, int type,
                                     std::span<const std::uint8_t> data, bool crc32,
                                     bool variableLength) {
  out.push_back(kZpad);
  out.push_back(kZdle);
  if (variableLength) {
    out.push_back(crc32 ? kZvbin32 : kZvbin);
    AppendRaw(out, static_cast<std::uint8_t>(data.size()));
  } else {
    AppendRaw(out, crc32 ? kZbin32 : kZbin);
  }
  const auto typeByte = static_cast<std::uint8_t>(type);
  AppendEscaped(out, {&typeByte, 1});
  AppendEscaped(out, data);
  if (crc32) {
    std::uint32_t reg = Crc32Step(0xFFFFFFFF, typeByte);
    reg = ~Crc32Update(reg, data);
    const std::uint8_t tail[] = {
        static_cast<std::uint8_t>(reg), static_cast<std::uint8_t>(reg >> 8),
        static_cast<std::uint8_t>(reg >> 16), static_cast<std::uint8_t>(reg >> 24)};
    AppendEscaped(out, tail);
  } else {
    const std::uint16_t crc = Crc16Xmodem(data, Crc16Step(0, typeByte));
    const std::uint8_t tail[] = {static_cast<std::uint8_t>(crc >> 8),
                                 static_cast<std::uint8_t>(crc & 0xFF)};
    AppendEscaped(out, tail);
  }
}

void FrameWriter::AppendSubpacket(std::vector<std::uint8_t>& out,
                                  std::span<const std::uint8_t> data, std::uint8_t frameEnd,
                                  bool crc32) {
  out.reserve(out.size() + data.size() * 2 + 16);
  AppendEscaped(out, data);
  out.push_back(kZdle);
  AppendRaw(out, frameEnd);
  if (crc32) {
    const std::uint32_t reg = ~Crc32Step(Crc32Update(0xFFFFFFFF, data), frameEnd);
    const std::uint8_t tail[] = {
        static_cast<std::uint8_t>(reg), static_cast<std::uint8_t>(reg >> 8),
        static_cast<std::uint8_t>(reg >> 16), static_cast<std::uint8_t>(reg >> 24)};
    AppendEscaped(out, tail);
  } else {
    const std::uint16_t crc = Crc16Step(Crc16Xmodem(data), frameEnd);
    const std::uint8_t tail[] = {static_cast<std::uint8_t>(crc >> 8),
                                 static_cast<std::uint8_t>(crc & 0xFF)};
    AppendEscaped(out, tail);
  }
  if (frameEnd == kZcrcw) AppendRaw(out, kXon);
}

}  // namespace tavix::zmodem
