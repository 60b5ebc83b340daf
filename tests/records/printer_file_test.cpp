#include "app/records/printer_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/fields/record_codec.h"
#include "tests/support/temp_directory.h"

namespace paltrix::records {
namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ImageBytes(const PrinterRecord& record) {
  return {record.image().begin(), record.image().end()};
}

class PrinterFileTest : public ::testing::Test {
 protected:
  testing::TempDirectory folder_;
  fs::path file_ = folder_ / "SPTIGER.DAT";
};

TEST_F(PrinterFileTest, PrimedRecordHoldsTheDefaultsAtTheirFileOffsets) {
  PrinterRecord record;
  record.Prime();
  ASSERT_TRUE(record.Write(file_).ok());

  const std::string bytes = FileBytes(file_);
  ASSERT_EQ(bytes.size(), 188u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x96\x00\x00", 4));  // BAUDRATE 38400
  EXPECT_EQ(bytes.substr(5, 4), std::string("\x08\x00\x00\x00", 4));  // DOTS 8
  EXPECT_EQ(bytes.substr(9, 20), "UBI" + std::string(17, ' '));
  EXPECT_EQ(bytes.substr(37, 4), "None");
  EXPECT_EQ(bytes.substr(41, 2), "81");
  EXPECT_EQ(bytes.substr(43, 5), "COM1 ");
  EXPECT_EQ(bytes.substr(48, 60), std::string(60, '\0'));  // STINAVN: ztext, empty
  EXPECT_EQ(bytes.substr(115, 20), "NORMAL" + std::string(14, ' '));
  EXPECT_EQ(bytes.substr(135, 20), "6" + std::string(19, ' '));
  EXPECT_EQ(bytes.substr(161, 4), "    ");  // PARITUBI: blank, not primed
  EXPECT_EQ(fields::ReadShort(record.image(), printer::KT), 0);
  EXPECT_EQ(fields::ReadByte(record.image(), printer::ANTALDETLAB), 0);
  EXPECT_EQ(fields::ReadLong(record.image(), printer::BAUDSKA), 0);
}

TEST_F(PrinterFileTest, WriteLeavesExactlyOneRecordWhateverWasThere) {
  for (const std::size_t before :
       {std::size_t{0}, std::size_t{50}, std::size_t{188}, std::size_t{500}}) {
    SCOPED_TRACE(before);
    if (before == 0) {
      fs::remove(file_);
    } else {
      WriteBytes(file_, std::string(before, 'x'));
    }
    PrinterRecord record;
    fields::WriteText(record.image(), printer::PRINTER, "Mixed");
    ASSERT_TRUE(record.Write(file_).ok());
    ASSERT_TRUE(record.Write(file_).ok());
    EXPECT_EQ(fs::file_size(file_), 188u);
    EXPECT_EQ(FileBytes(file_), ImageBytes(record));
  }
}

TEST_F(PrinterFileTest, ReadReturnsWhatWasWrittenAndIgnoresBytesAfterTheRecord) {
  PrinterRecord written;
  written.Prime();
  fields::WriteLong(written.image(), printer::DOTS, 12);
  fields::WriteShort(written.image(), printer::KT, -30);
  fields::WriteText(written.image(), printer::PRINTER, "ZPL 6\"");
  ASSERT_TRUE(written.Write(file_).ok());
  std::ofstream(file_, std::ios::binary | std::ios::app) << "second record";

  PrinterRecord read;
  ASSERT_TRUE(read.Read(file_).ok());
  EXPECT_EQ(ImageBytes(read), ImageBytes(written));
  EXPECT_EQ(fields::ReadShort(read.image(), printer::KT), -30);
  EXPECT_EQ(fields::ReadText(read.image(), printer::PRINTER), "ZPL 6\"");
}

TEST_F(PrinterFileTest, MissingOrEmptyFileLeavesTheBufferAsItWas) {
  PrinterRecord record;
  record.Prime();
  const std::string before = ImageBytes(record);

  EXPECT_TRUE(record.Read(file_).ok());
  EXPECT_EQ(ImageBytes(record), before);
  EXPECT_FALSE(fs::exists(file_)) << "reading must not create the file";

  WriteBytes(file_, "");
  EXPECT_TRUE(record.Read(file_).ok());
  EXPECT_EQ(ImageBytes(record), before);
}

TEST_F(PrinterFileTest, ShortFileIsAnErrorAndLeavesTheBufferAsItWas) {
  for (const std::size_t length : {std::size_t{1}, std::size_t{100}, std::size_t{187}}) {
    SCOPED_TRACE(length);
    WriteBytes(file_, std::string(length, 'x'));
    PrinterRecord record;
    record.Prime();
    const std::string before = ImageBytes(record);

    const Status status = record.Read(file_);
    EXPECT_EQ(status.code(), ErrorCode::kInvalidDataFile);
    EXPECT_NE(status.message().find(std::to_string(length)), std::string::npos) << status.message();
    EXPECT_EQ(ImageBytes(record), before);
  }
}

TEST_F(PrinterFileTest, WriteIntoMissingFolderIsPathNotFound) {
  PrinterRecord record;
  const Status status = record.Write(folder_ / "missing" / "SPTIGER.DAT");
  EXPECT_EQ(status.code(), ErrorCode::kPathNotFound);
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(PrinterFileTest, AFifoOrADeviceIsRefusedWithoutWaitingOrWriting) {
  PrinterRecord record;
  record.Prime();
  const std::string primed = ImageBytes(record);
  ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);
  EXPECT_EQ(record.Read(file_).code(), ErrorCode::kInvalidDataFile);
  EXPECT_EQ(record.Write(file_).code(), ErrorCode::kInvalidDataFile);
  fs::remove(file_);
  fs::create_symlink("/dev/zero", file_);
  EXPECT_EQ(record.Read(file_).code(), ErrorCode::kInvalidDataFile);
  EXPECT_EQ(ImageBytes(record), primed);
}

}  // namespace
}  // namespace paltrix::records
