#include "app/settings/printer_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings/settings_ini_name.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::settings {
namespace {

TEST(PrinterSettings, EveryKeyHasItsDefault) {
  testing::TempDirectory folder;
  std::ofstream(folder / "with-other-keys.ini") << "[Printer]\nSPEED=4\n[Other]\nTMarg=9\n";
  for (const char* name : {"missing.ini", "with-other-keys.ini"}) {
    Result<PrinterSettings> settings = ReadPrinterSettings(folder / name);
    ASSERT_TRUE(settings.ok()) << name;
    EXPECT_EQ(settings->printerName, "") << name;
    EXPECT_EQ(settings->topOffset, 0);
    EXPECT_EQ(settings->leftOffset, 0);
    EXPECT_EQ(settings->waitSeconds, 0);
    EXPECT_EQ(settings->ai90Flag, 0);
    EXPECT_EQ(settings->wideNarrow, 0);
    EXPECT_EQ(settings->mixedPalletCaption, "Mix Cont. Nr");
    EXPECT_EQ(settings->mixNumberPicture, "@n01");
    EXPECT_EQ(settings->flowerOrderNumberPicture, "@n07");
  }
}

TEST(PrinterSettings, ReadsEveryKeyAndCutsLongTexts) {
  testing::TempDirectory folder;
  const std::string longName(100, 'P');
  const std::string longCaption = "Blandet palle nummer med en meget lang tekst";
  std::ofstream(folder / "s.ini") << "[printer]\n"
                                  << "printer=" << longName << "\n"
                                  << "TMARG=-12\nlmarg=30\nWait=3\nIDAI90=1\nWideNarrow=1\n"
                                  << "NETAI90=" << longCaption << "\n"
                                  << "MixPicture=@n03\nBlOPicture=@n09\n";
  Result<PrinterSettings> settings = ReadPrinterSettings(folder / "s.ini");
  ASSERT_TRUE(settings.ok());
  EXPECT_EQ(settings->printerName, longName.substr(0, 79));
  EXPECT_EQ(settings->topOffset, -12);
  EXPECT_EQ(settings->leftOffset, 30);
  EXPECT_EQ(settings->waitSeconds, 3);
  EXPECT_EQ(settings->ai90Flag, 1);
  EXPECT_EQ(settings->wideNarrow, 1);
  EXPECT_EQ(settings->mixedPalletCaption, longCaption.substr(0, 39));
  EXPECT_EQ(MixedPalletLabelCaption(*settings), longCaption.substr(0, 19));
  EXPECT_EQ(settings->mixNumberPicture, "@n03");
  EXPECT_EQ(settings->flowerOrderNumberPicture, "@n09");
}

TEST(PrinterSettings, NumbersThatAreNotWholeNumbersReadAsTheDefault) {
  testing::TempDirectory folder;
  std::ofstream(folder / "s.ini") << "[Printer]\nTMarg=5mm\nLMarg=\nWAIT=2.5\nIDAI90=yes\n";
  Result<PrinterSettings> settings = ReadPrinterSettings(folder / "s.ini");
  ASSERT_TRUE(settings.ok());
  EXPECT_EQ(settings->topOffset, 0);
  EXPECT_EQ(settings->leftOffset, 0);
  EXPECT_EQ(settings->waitSeconds, 0);
  EXPECT_EQ(settings->ai90Flag, 0);
}

TEST(PrinterSettings, TheWindowWritesItsSixKeysAndKeepsTheRest) {
  testing::TempDirectory folder;
  const std::filesystem::path path = folder / "splab.ini";
  std::ofstream(path) << "[STARTUP]\nINIFILE=.\\splab.ini\n\n"
                      << "[Printer]\n; chosen by the operator\nPrinter=Old\nNETAI90=Blomster\n"
                      << "MixPicture=@n02\nSPEED=4\n";
  PrinterSettings settings;
  settings.printerName = "zebra-pakkeri";
  settings.topOffset = 10;
  settings.leftOffset = -4;
  settings.waitSeconds = 3;
  settings.ai90Flag = 1;
  settings.wideNarrow = 1;
  settings.mixedPalletCaption = "not written by the window";
  ASSERT_TRUE(WriteWindowPrinterSettings(path, settings).ok());

  const std::string text = testing::ReadFileText(path);
  EXPECT_NE(text.find("; chosen by the operator\nPrinter=zebra-pakkeri\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("INIFILE=.\\splab.ini"), std::string::npos);
  EXPECT_NE(text.find("SPEED=4"), std::string::npos);
  Result<PrinterSettings> reread = ReadPrinterSettings(path);
  ASSERT_TRUE(reread.ok());
  EXPECT_EQ(reread->printerName, "zebra-pakkeri");
  EXPECT_EQ(reread->topOffset, 10);
  EXPECT_EQ(reread->leftOffset, -4);
  EXPECT_EQ(reread->waitSeconds, 3);
  EXPECT_EQ(reread->ai90Flag, 1);
  EXPECT_EQ(reread->wideNarrow, 1);
  EXPECT_EQ(reread->mixedPalletCaption, "Blomster");
  EXPECT_EQ(reread->mixNumberPicture, "@n02");

  ASSERT_TRUE(WriteMixedPalletCaption(path, "Mix nr").ok());
  reread = ReadPrinterSettings(path);
  ASSERT_TRUE(reread.ok());
  EXPECT_EQ(reread->mixedPalletCaption, "Mix nr");
  EXPECT_EQ(reread->printerName, "zebra-pakkeri");
}

TEST(PrinterSettings, RefusedValuesLeaveTheFileAsItWas) {
  testing::TempDirectory folder;
  const std::filesystem::path path = folder / "splab.ini";
  std::ofstream(path) << "[Printer]\nPrinter=Old\nNETAI90=Blomster\n";
  const std::string before = testing::ReadFileText(path);

  PrinterSettings tooLong;
  tooLong.printerName = std::string(80, 'x');
  PrinterSettings twoLines;
  twoLines.printerName = "zebra\n[Printer]";
  EXPECT_EQ(WriteWindowPrinterSettings(path, tooLong).code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(WriteWindowPrinterSettings(path, twoLines).code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(WriteMixedPalletCaption(path, std::string(40, 'c')).code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(WriteMixedPalletCaption(path, "a\rb").code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(testing::ReadFileText(path), before);
}

TEST(PrinterSettings, WithoutAStartupFileTheFirstWriteCreatesSplabIni) {
  testing::TempDirectory folder;
  Result<std::string> name = ReadSettingsIniName(folder.path());
  ASSERT_TRUE(name.ok());
  SetCurrentSettingsIniName(*name);
  Result<std::filesystem::path> path = CurrentSettingsIniPath(folder.path());
  ASSERT_TRUE(path.ok());
  EXPECT_EQ(*path, folder / "splab.ini");

  PrinterSettings settings;
  settings.printerName = "zebra";
  ASSERT_TRUE(WriteWindowPrinterSettings(*path, settings).ok());
  EXPECT_EQ(testing::ReadFileText(folder / "splab.ini"),
            "[Printer]\nPrinter=zebra\nTMarg=0\nLMarg=0\nIDAI90=0\nWideNarrow=0\nWAIT=0\n");
  SetCurrentSettingsIniName(kStartupIniName);
}

}  // namespace
}  // namespace paltrix::settings
