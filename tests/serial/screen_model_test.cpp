// The terminal's screen model: cursor movement, attributes, scrolling, the "*"/CAN download
// rule, DoorWay mode, the cursor report, and recorded sessions compared cell by cell.

#include "terminal/screen_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminal/code_page_437.h"
#include "terminal/doorway_keys.h"

namespace tavix::terminal {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct CursorCase {
  const char* note;
  std::string input;
  int row;
  int column;
  std::uint8_t attribute;
};

class CursorAndAttribute : public ::testing::TestWithParam<CursorCase> {};

TEST_P(CursorAndAttribute, EndsWhereExpected) {
  const CursorCase& c = GetParam();
  ScreenModel screen(0x07);
  screen.Receive(Bytes(c.input));
  EXPECT_EQ(screen.Row(), c.row) << c.note;
  EXPECT_EQ(screen.Column(), c.column) << c.note;
  EXPECT_EQ(screen.Attribute(), c.attribute) << c.note;
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, CursorAndAttribute,
    ::testing::Values(
        CursorCase{"row and column are 1-based", "\x1b[5;10H", 4, 9, 0x07},
        CursorCase{"0 counts as 1", "\x1b[0;0H", 0, 0, 0x07},
        CursorCase{"column limited to the last", "\x1b[1;200H", 0, 87, 0x07},
        CursorCase{"f is H", "\x1b[3;4f", 2, 3, 0x07},
        CursorCase{"parameters saturate at 255, never wrap", "\x1b[1;300H", 0, 87, 0x07},
        CursorCase{"a row at the buffer's end moves the screen up", "\x1b[150;1H", 98, 0, 0x07},
        CursorCase{"bright red on blue", "\x1b[0m\x1b[1;31;44m", 0, 0, 0x1C},
        CursorCase{"background keeps bright and foreground", "\x1b[1;36m\x1b[41m", 0, 0, 0x4B},
        CursorCase{"inverse, then hidden", "\x1b[7m\x1b[8m", 0, 0, 0x00},
        CursorCase{"blink and unknown values change nothing", "\x1b[32m\x1b[5;99m", 0, 0, 0x02},
        CursorCase{"up, down, right, left with counts", "\x1b[10B\x1b[3A\x1b[20C\x1b[5D", 7, 15,
                   0x07},
        CursorCase{"moves stop at the edges", "\x1b[A\x1b[D\x1b[99C", 0, 87, 0x07},
        CursorCase{"save and restore", "\x1b[4;4H\x1b[s\x1b[9;9H\x1b[u", 3, 3, 0x07},
        CursorCase{"TAB from 3 goes to 8", "abc\t", 0, 8, 0x07},
        CursorCase{"TAB from 8 goes to 16", "abcdefgh\t", 0, 16, 0x07},
        CursorCase{"BS stops at 0, CR returns", "ab\b\b\bxyz\r", 0, 0, 0x07},
        CursorCase{"ESC followed by other than [ drops that character", "\x1b(B", 0, 1, 0x07},
        CursorCase{"a tenth ; ends the sequence", "\x1b[;;;;;;;;;;5C", 0, 2, 0x07},
        CursorCase{"a character at the last column stays there", "\x1b[1;88Hxyz", 0, 87, 0x07},
        CursorCase{"FF clears and restores the default attribute", "\x1b[31mab\f", 0, 0, 0x07}));

TEST(ScreenModel, LastColumnIsOverwrittenNotWrapped) {
  ScreenModel screen(0x07);
  screen.Receive(Bytes("\x1b[1;87Hxyz"));
  EXPECT_EQ(screen.At(0, 86).character, 'x');
  EXPECT_EQ(screen.At(0, 87).character, 'z');
  EXPECT_EQ(screen.At(1, 0).character, ' ');
}

TEST(ScreenModel, HundredLineFeedsScrollTwoRowsOut) {
  ScreenModel screen(0x07);
  std::string input;
  for (int row = 0; row < 100; ++row) input += "L" + std::to_string(row) + "\r\n";
  screen.Receive(Bytes(input));
  EXPECT_EQ(screen.Row(), 98);
  EXPECT_EQ(screen.TakeLinesScrolled(), 2);
  EXPECT_EQ(screen.RowText(0).substr(0, 3), "L2 ");
  EXPECT_EQ(screen.RowText(97).substr(0, 4), "L99 ");
  EXPECT_EQ(screen.RowText(98), std::string(kColumns, ' '));
}

TEST(ScreenModel, StarThenCanAsksForDownloadAndDropsTheRest) {
  ScreenModel screen(0x07);
  EXPECT_TRUE(screen
                  .Receive(Bytes("rz**\x18"
                                 "B00000"))
                  .zmodemDownloadRequested);
  EXPECT_EQ(screen.RowText(0).substr(0, 6), "rz**  ") << "the rest of the block is dropped";

  ScreenModel other(0x07);
  EXPECT_FALSE(other.Receive(Bytes("*A\x18")).zmodemDownloadRequested);
  EXPECT_EQ(other.At(0, 2).character, 0x18) << "a CAN without a star is shown";

  ScreenModel split(0x07);
  EXPECT_FALSE(split.Receive(Bytes("*")).zmodemDownloadRequested);
  EXPECT_TRUE(split.Receive(Bytes("\x18")).zmodemDownloadRequested)
      << "the count survives block boundaries";
  EXPECT_FALSE(split.Receive(Bytes("\x18")).zmodemDownloadRequested) << "the count restarts";
}

TEST(ScreenModel, CursorReportIsAnsweredWithHome) {
  ScreenModel screen(0x07);
  screen.Receive(Bytes("\x1b[12;40H\x1b[6n"));
  EXPECT_EQ(screen.TakeReply(), "\x1b[1;1R");
  EXPECT_EQ(screen.TakeReply(), "");
  EXPECT_EQ(screen.Row(), 11) << "the report moves nothing";
}

TEST(ScreenModel, DoorwayModeNeeds255AndTheMenuFollowsEverySequence) {
  ScreenModel screen(0x07);
  screen.Receive(Bytes("\x1b[=1h"));
  EXPECT_FALSE(screen.Doorway());
  EXPECT_EQ(screen.TakeDoorwayMenuChange(), 1);
  screen.Receive(Bytes("\x1b[=255h"));
  EXPECT_TRUE(screen.Doorway());
  screen.Receive(Bytes("\x1b[255h"));
  EXPECT_EQ(screen.TakeDoorwayMenuChange(), 1) << "without = the menu is left alone";
  screen.Receive(Bytes("\x1b[=255l"));
  EXPECT_FALSE(screen.Doorway());
  EXPECT_EQ(screen.TakeDoorwayMenuChange(), 0);

  const std::array<std::uint8_t, 2> f1 = {0x00, 0x3B};
  EXPECT_EQ(DoorwayBytes(DoorwayKey::F1, false), f1);
  const std::array<std::uint8_t, 2> f10 = {0x00, 0x44};
  EXPECT_EQ(DoorwayBytes(DoorwayKey::F10, true), f10);
  const std::array<std::uint8_t, 2> ctrlPageUp = {0x00, 0x84};
  EXPECT_EQ(DoorwayBytes(DoorwayKey::PageUp, true), ctrlPageUp);
  const std::array<std::uint8_t, 2> ctrlUp = {0x00, 0x48};
  EXPECT_EQ(DoorwayBytes(DoorwayKey::Up, true), ctrlUp);
  const std::array<std::uint8_t, 2> del = {0x00, 0x53};
  EXPECT_EQ(DoorwayBytes(DoorwayKey::Delete, false), del);
}

class RecordingCapture final : public CaptureSink {
 public:
  void Store(std::uint8_t byte) override { bytes.push_back(static_cast<char>(byte)); }
  std::string bytes;
};

TEST(ScreenModel, CapturesShownCharactersButNotSequences) {
  ScreenModel screen(0x07);
  RecordingCapture capture;
  screen.SetCapture(&capture);
  screen.Receive(Bytes("\x1b[1;33mab\tc\x1b[0m\r\n\x07"));
  EXPECT_EQ(capture.bytes, "ab\t      c\r\n\x07");
}

// A span of cells expected on the final screen; every other cell is a blank in 0x07.
struct Span {
  int row;
  int column;
  std::string text;
  std::uint8_t attribute;
};

void ExpectScreen(const ScreenModel& screen, const std::vector<Span>& spans) {
  std::vector<std::vector<Cell>> expected(kRows, std::vector<Cell>(kColumns, Cell{' ', 0x07}));
  for (const Span& span : spans) {
    for (std::size_t i = 0; i < span.text.size(); ++i) {
      expected[span.row][span.column + i] =
          Cell{static_cast<std::uint8_t>(span.text[i]), span.attribute};
    }
  }
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const Cell& cell = screen.At(row, column);
      ASSERT_EQ(cell, expected[row][column])
          << "row " << row << " column " << column << ": '" << cell.character << "' 0x" << std::hex
          << int{cell.attribute};
    }
  }
}

// A bulletin board's main menu as it arrives from the line.
const std::string kMenuSession =
    "\x1b[2J\x1b[1;37;44m  TAVIX BBS  \x1b[0m\r\n\r\n"
    "\x1b[1;33m[\x1b[36mM\x1b[33m]\x1b[0;32m Messages\t"
    "\x1b[1;33m[\x1b[36mF\x1b[33m]\x1b[0;32m Files\r\n"
    "\x1b[5;10H\x1b[31mStatus:\x1b[0m ok\r\n"
    "\x1b(B\x1b[5z"
    "\x1b[1;1H\x1b[5C\x1b[K"
    "\x1b[7m\x1b[20;80HABCDEFGHIJKL"
    "\x1b[s\x1b[10;1Hx\x1b[uy"
    "\x1b[2A\x1b[3Dz";

const std::vector<Span> kMenuScreen = {
    {0, 0, "  TAV", 0x1F},
    {2, 0, "[", 0x0E},
    {2, 1, "M", 0x0B},
    {2, 2, "]", 0x0E},
    {2, 3, " Messages    ", 0x02},
    {2, 16, "[", 0x0E},
    {2, 17, "F", 0x0B},
    {2, 18, "]", 0x0E},
    {2, 19, " Files", 0x02},
    {4, 9, "Status:", 0x04},
    {4, 16, " ok", 0x07},
    {5, 0, "B", 0x07},
    {9, 0, "x", 0x70},
    {17, 84, "z", 0x70},
    {19, 79, "ABCDEFGHy", 0x70},
};

TEST(RecordedSession, MenuReplayedByteByByteAndAsOneBlock) {
  ScreenModel byByte(0x07);
  for (const char byte : kMenuSession) byByte.Receive(Bytes(std::string(1, byte)));
  ExpectScreen(byByte, kMenuScreen);
  EXPECT_EQ(byByte.Row(), 17);
  EXPECT_EQ(byByte.Column(), 85);

  ScreenModel block(0x07);
  block.Receive(Bytes(kMenuSession));
  ExpectScreen(block, kMenuScreen);
}

TEST(RecordedSession, ColouredFileListScrollsPastTheBuffer) {
  std::string session = "\x1b[2J";
  for (int line = 0; line < 120; ++line) {
    session += "\x1b[1;3" + std::to_string(1 + line % 7) + "m" + std::to_string(1000 + line) +
               "\x1b[0m file.zip\r\n";
  }
  ScreenModel screen(0x07);
  for (const char byte : session) screen.Receive(Bytes(std::string(1, byte)));

  constexpr std::array<std::uint8_t, 7> kBrightOfAnsi = {0x0C, 0x0A, 0x0E, 0x09, 0x0D, 0x0B, 0x0F};
  std::vector<Span> spans;
  for (int line = 22; line < 120; ++line) {
    spans.push_back({line - 22, 0, std::to_string(1000 + line), kBrightOfAnsi[line % 7]});
    spans.push_back({line - 22, 4, " file.zip", 0x07});
  }
  ExpectScreen(screen, spans);
  EXPECT_EQ(screen.Row(), 98);
  EXPECT_EQ(screen.TakeLinesScrolled(), 22);
}

// Bulletin-board art is drawn in the PC's code page 437: a frame of double lines, shades and
// blocks, the accented letters and the symbols below 0x20; plain ASCII stays itself.
TEST(ScreenCharacterSet, DrawsCodePage437) {
  const std::u16string frame = u"╔═╗║╚╝░▒▓█▀▄ÇüéÑ½αßπ°·☺♥►";
  const std::string bytes =
      "\xC9\xCD\xBB\xBA\xC8\xBC\xB0\xB1\xB2\xDB\xDF\xDC\x80\x81\x82\xA5\xAB\xE0\xE1\xE3\xF8\xFA"
      "\x01\x03\x10";
  ASSERT_EQ(frame.size(), bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    EXPECT_EQ(Cp437ToUnicode(static_cast<std::uint8_t>(bytes[i])), frame[i]) << i;
  }
  for (const char ascii : std::string(" AZaz09~!")) {
    EXPECT_EQ(Cp437ToUnicode(static_cast<std::uint8_t>(ascii)), static_cast<char16_t>(ascii));
  }
  EXPECT_EQ(Cp437ToUnicode(0x00), u'\0');
  EXPECT_EQ(Cp437ToUnicode(0x7F), u'⌂');
  EXPECT_EQ(Cp437ToUnicode(0xFF), u'\u00A0');
}

}  // namespace
}  // namespace tavix::terminal
