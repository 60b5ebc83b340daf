#include "framework/ini/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::ini {
namespace {

TEST(IniFile, MissingFileOrKeyGivesTheDefault) {
  testing::TempDirectory folder;
  Result<IniFile> ini = IniFile::Load(folder / "absent.ini");
  ASSERT_TRUE(ini.ok()) << ini.status().message();
  EXPECT_EQ(ini->Find("Printer", "TMarg"), std::nullopt);
  EXPECT_EQ(ini->GetString("Printer", "NETAI90", "Mix Cont. Nr"), "Mix Cont. Nr");
  EXPECT_EQ(ini->GetInteger("Printer", "WAIT", 7), 7);
  EXPECT_FALSE(std::filesystem::exists(folder / "absent.ini")) << "reading creates nothing";
}

TEST(IniFile, NamesAreComparedWithoutCase) {
  testing::TempDirectory folder;
  testing::WriteFileText(folder / "s.ini", "[Printer]\r\nPrinter = Zebra 105\r\nTMarg=12\r\n");
  Result<IniFile> ini = IniFile::Load(folder / "s.ini");
  ASSERT_TRUE(ini.ok());
  EXPECT_EQ(ini->GetString("PRINTER", "printer", ""), "Zebra 105");
  EXPECT_EQ(ini->GetInteger("printer", "tmarg", 0), 12);
  EXPECT_EQ(ini->Find("Printer", "LMarg"), std::nullopt);
  EXPECT_EQ(ini->Find("Other", "TMarg"), std::nullopt);
}

TEST(IniFile, OnlyWholeNumbersAreRead) {
  struct Row {
    std::string value;
    int expected;
  };
  const Row rows[] = {
      {"12", 12},    {" -3 ", -3},
      {"+4", 4},     {"0", 0},
      {"12 mm", 99}, {"", 99},
      {"abc", 99},   {"1.5", 99},
      {"0x10", 99},  {"99999999999", 99},
      {"-", 99},     {"2147483647", 2147483647},
  };
  testing::TempDirectory folder;
  std::string text = "[N]\n";
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    text += "k" + std::to_string(i) + "=" + rows[i].value + "\n";
  }
  testing::WriteFileText(folder / "n.ini", text);
  Result<IniFile> ini = IniFile::Load(folder / "n.ini");
  ASSERT_TRUE(ini.ok());
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(ini->GetInteger("N", "k" + std::to_string(i), 99), rows[i].expected)
        << "'" << rows[i].value << "'";
  }
}

TEST(IniFile, WritingKeepsOtherKeysCommentsAndOrder) {
  testing::TempDirectory folder;
  const std::filesystem::path path = folder / "splab.ini";
  testing::WriteFileText(path,
                         "; printer settings of this station\n"
                         "[STARTUP]\n"
                         "INIFILE=.\\splab.ini\n"
                         "\n"
                         "[Printer]\n"
                         "; the queue\n"
                         "Printer=Zebra\n"
                         "TMarg=5\n"
                         "NETAI90=Blomst \xe6\xf8\xe5\n"
                         "\n"
                         "; kept at the end\n");
  {
    Result<IniFile> ini = IniFile::Load(path);
    ASSERT_TRUE(ini.ok());
    ASSERT_TRUE(ini->SetInteger("printer", "tmarg", 8).ok());
    ASSERT_TRUE(ini->SetString("Printer", "WAIT", "2").ok());
    ASSERT_TRUE(ini->SetString("Extra", "Key", "Value").ok());
    ASSERT_TRUE(ini->Save().ok());
  }
  const std::string written = testing::ReadFileText(path);
  EXPECT_EQ(written,
            "; printer settings of this station\n"
            "\n"
            "\n"
            "[STARTUP]\n"
            "INIFILE=.\\splab.ini\n"
            "\n"
            "\n"
            "[Printer]\n"
            "\n"  // the parser's own spacing before a commented key
            "; the queue\n"
            "Printer=Zebra\n"
            "TMarg=8\n"
            "NETAI90=Blomst \xe6\xf8\xe5\n"
            "WAIT=2\n"
            "\n"
            "\n"
            "[Extra]\n"
            "Key=Value\n"
            "\n"
            "; kept at the end\n");

  Result<IniFile> again = IniFile::Load(path);
  ASSERT_TRUE(again.ok());
  ASSERT_TRUE(again->Save().ok());
  EXPECT_EQ(testing::ReadFileText(path), written) << "loading and saving again changes nothing";
}

TEST(IniFile, SaveCreatesAMissingFileButNoFolder) {
  testing::TempDirectory folder;
  Result<IniFile> created = IniFile::Load(folder / "new.ini");
  ASSERT_TRUE(created.ok());
  ASSERT_TRUE(created->SetString("Printer", "Printer", "Zebra").ok());
  ASSERT_TRUE(created->Save().ok());
  EXPECT_EQ(testing::ReadFileText(folder / "new.ini"), "[Printer]\nPrinter=Zebra\n");

  Result<IniFile> nowhere = IniFile::Load(folder / "missing" / "new.ini");
  ASSERT_TRUE(nowhere.ok());
  ASSERT_TRUE(nowhere->SetString("Printer", "Printer", "Zebra").ok());
  const Status failed = nowhere->Save();
  EXPECT_EQ(failed.code(), ErrorCode::kPathNotFound);
  EXPECT_EQ(failed.systemCode(), ENOENT);
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(IniFile, FailuresAreReportedNotSwallowed) {
  testing::TempDirectory folder;
  std::filesystem::create_directory(folder / "dir.ini");
  Result<IniFile> unreadable = IniFile::Load(folder / "dir.ini");
  ASSERT_FALSE(unreadable.ok()) << "an existing file that cannot be read is not an empty file";
  EXPECT_EQ(unreadable.status().code(), ErrorCode::kFileSystemError);

  // A folder in the file's place cannot be replaced: the write fails and the
  // folder is left as it was, without a stray temporary file.
  Result<IniFile> blocked = IniFile::Load(folder / "other.ini");
  ASSERT_TRUE(blocked.ok());
  std::filesystem::create_directory(folder / "other.ini");
  std::filesystem::create_directory(folder / "other.ini" / "inside");
  ASSERT_TRUE(blocked->SetString("A", "B", "C").ok());
  EXPECT_FALSE(blocked->Save().ok());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "other.ini" / "inside"));
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 2);
}

TEST(IniFile, RefusesTextThatWouldBreakTheFile) {
  testing::TempDirectory folder;
  Result<IniFile> ini = IniFile::Load(folder / "s.ini");
  ASSERT_TRUE(ini.ok());
  const Status refusals[] = {
      ini->SetString("Printer", "NETAI90", "two\nlines"),
      ini->SetString("Printer", "NETAI90", "cr\r"),
      ini->SetString("Printer", "NETAI90", std::string_view("nul\0", 4)),
      ini->SetString("Printer]", "Key", "x"),
      ini->SetString("Printer", "Key=1", "x"),
      ini->SetString("", "Key", "x"),
  };
  for (const Status& refused : refusals) EXPECT_EQ(refused.code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(ini->Find("Printer", "NETAI90"), std::nullopt) << "a refused value changes nothing";
  EXPECT_TRUE(ini->SetString("Printer", "NETAI90", "Mix [1] = ok; fine").ok());
  ASSERT_TRUE(ini->Save().ok());
  Result<IniFile> reread = IniFile::Load(folder / "s.ini");
  ASSERT_TRUE(reread.ok());
  EXPECT_EQ(reread->GetString("Printer", "NETAI90", ""), "Mix [1] = ok; fine");
}

// A FIFO would hang the read, a link to /dev/zero never end it: both, and a
// file larger than any settings file, are refused at once.
TEST(IniFile, OnlyOrdinaryFilesOfASettingsFileSizeAreReadOrWritten) {
  testing::TempDirectory folder;
  ASSERT_EQ(::mkfifo((folder / "fifo.ini").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", folder / "zero.ini");
  testing::WriteFileText(folder / "huge.ini", std::string(1024 * 1024 + 1, ';'));
  for (const char* name : {"fifo.ini", "zero.ini", "huge.ini"}) {
    Result<IniFile> ini = IniFile::Load(folder / name);
    ASSERT_FALSE(ini.ok()) << name;
    EXPECT_EQ(ini.status().code(), ErrorCode::kInvalidDataFile) << name;
    EXPECT_NE(ini.status().message().find(name), std::string::npos) << ini.status().message();
  }
}

}  // namespace
}  // namespace paltrix::ini
