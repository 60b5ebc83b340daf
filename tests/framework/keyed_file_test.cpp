#include "framework/storage/keyed_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/fields/record_codec.h"
#include "tests/framework/storage_backends.h"
#include "tests/framework/storage_test_files.h"

namespace paltrix::storage {
namespace {

using testing::IdOf;
using testing::IdsInKeyOrder;
using testing::IdsInPhysicalOrder;
using testing::MakeRecord;
using testing::OpenOrFail;
using Ids = std::vector<std::string>;

class KeyedFileTest : public ::testing::TestWithParam<testing::Backend> {
 protected:
  std::filesystem::path FilePath() const { return storage_ / "test.dat"; }

  KeyedFile& Open() { return OpenOrFail(session_, FilePath()); }

  void Add(KeyedFile& file, const Record& record) {
    Result<RecordNumber> added = file.Add(record);
    ASSERT_TRUE(added.ok()) << added.status().ToString();
  }

  testing::StorageUnderTest storage_{GetParam()};
  Session session_{storage_.target()};
};

TEST_P(KeyedFileTest, OpeningAMissingFileCreatesItEmpty) {
  KeyedFile& file = Open();
  EXPECT_TRUE(storage_.Exists(FilePath(), testing::kSchema));
  EXPECT_EQ(*file.RecordCount(), 0);
  Record record;
  EXPECT_EQ(file.Next(record).code(), ErrorCode::kRecordNotAvailable);
}

TEST_P(KeyedFileTest, OpeningWithoutCreateRefusesAMissingFile) {
  Result<KeyedFile*> file = session_.Open(testing::kSchema, FilePath(), {.createIfMissing = false});
  EXPECT_EQ(file.status().code(), ErrorCode::kFileNotFound);
  EXPECT_FALSE(storage_.Exists(FilePath(), testing::kSchema));
}

TEST_P(KeyedFileTest, RecordsAndMemosSurviveReopen) {
  const Record first = MakeRecord("P1", "Rødkål", 7, "første bemærkning");
  const Record second = MakeRecord("P2", "Æbler", 0, "");
  {
    Session writer(storage_.target());
    KeyedFile& file = OpenOrFail(writer, FilePath());
    Add(file, first);
    Add(file, second);
  }
  KeyedFile& file = Open();
  Record read;
  ASSERT_TRUE(file.Get(1, read).ok());
  EXPECT_EQ(read.image, first.image);
  EXPECT_EQ(read.memos, first.memos);
  ASSERT_TRUE(file.Get(2, read).ok());
  EXPECT_EQ(read.image, second.image);
  EXPECT_EQ(read.memos, std::vector<std::string>{""});
}

TEST_P(KeyedFileTest, UniqueKeyRefusesAValueDifferingOnlyInCase) {
  KeyedFile& file = Open();
  Add(file, MakeRecord("R\xF8"
                       "dk\xE5l"));  // Windows-1252 "Rødkål"
  Result<RecordNumber> again =
      file.Add(MakeRecord("R\xD8"
                          "DK\xC5L"));  // "RØDKÅL"
  EXPECT_EQ(again.status().code(), ErrorCode::kDuplicateKey);
  EXPECT_NE(again.status().message().find("TST:IdKey"), std::string::npos)
      << again.status().message();
  EXPECT_EQ(*file.RecordCount(), 1);
}

TEST_P(KeyedFileTest, DuplicatesKeyKeepsEqualValuesInRecordNumberOrder) {
  KeyedFile& file = Open();
  Add(file, MakeRecord("C", "same"));
  Add(file, MakeRecord("A", "SAME"));
  Add(file, MakeRecord("B", "Same"));
  Add(file, MakeRecord("D", "other"));
  EXPECT_EQ(IdsInKeyOrder(file, testing::kNameKey), (Ids{"D", "C", "A", "B"}));
  ASSERT_TRUE(file.SetKeyOrderFromEnd(testing::kNameKey).ok());
  EXPECT_EQ(testing::ReadIds(file, /*forward=*/false), (Ids{"B", "A", "C", "D"}));

  // Turning round inside the run of equal values.
  ASSERT_TRUE(file.SetKeyOrder(testing::kNameKey).ok());
  Record record;
  for (const char* expected : {"D", "C", "A"}) {
    ASSERT_TRUE(file.Next(record).ok());
    EXPECT_EQ(IdOf(record), expected);
  }
  ASSERT_TRUE(file.Previous(record).ok());
  EXPECT_EQ(IdOf(record), "C");
  ASSERT_TRUE(file.Next(record).ok());
  EXPECT_EQ(IdOf(record), "A");
}

TEST_P(KeyedFileTest, KeyThatSkipsBlanksLeavesOutRecordsWhoseComponentsAreAllBlank) {
  KeyedFile& file = Open();
  Add(file, MakeRecord("blank"));           // group 0, name blank: left out
  Add(file, MakeRecord("named", "navn"));   // group 0 but a name: kept
  Add(file, MakeRecord("grouped", "", 3));  // blank name but a group: kept
  Add(file, MakeRecord("both", "b", 1));
  EXPECT_EQ(IdsInKeyOrder(file, testing::kGroupKey), (Ids{"named", "both", "grouped"}));
  EXPECT_EQ(IdsInKeyOrder(file, testing::kNameKey).size(), 4u);

  Record found;
  EXPECT_EQ(file.Fetch(testing::kGroupKey, MakeRecord("x"), found).code(),
            ErrorCode::kRecordNotFound);
}

TEST_P(KeyedFileTest, TextKeysOrderWithoutRegardToCaseIncludingDanishLetters) {
  KeyedFile& file = Open();
  // Windows-1252: å E5, Æ C6, ø F8, Ø D8. Folded: Å C5 < Æ C6 < Ø D8.
  Add(file, MakeRecord("1", "beta"));
  Add(file, MakeRecord("2", "\xF8st"));
  Add(file, MakeRecord("3", "Alpha"));
  Add(file, MakeRecord("4",
                       "\xE5"
                       "ben"));
  Add(file, MakeRecord("5",
                       "\xC6"
                       "ble"));
  Add(file, MakeRecord("6", "zulu"));
  EXPECT_EQ(IdsInKeyOrder(file, testing::kNameKey), (Ids{"3", "1", "6", "4", "5", "2"}));

  Record found;
  ASSERT_TRUE(file.Fetch(testing::kNameKey, MakeRecord("", "\xD8ST"), found).ok());
  EXPECT_EQ(IdOf(found), "2");
  ASSERT_TRUE(file.Fetch(testing::kIdKey, MakeRecord("4"), found).ok());
  EXPECT_EQ(fields::ReadText(found.image, testing::kName),
            "\xE5"
            "ben");
}

TEST_P(KeyedFileTest, PhysicalAndKeyOrderReadBothWays) {
  KeyedFile& file = Open();
  for (const char* id : {"m", "c", "x", "a"}) Add(file, MakeRecord(id));

  EXPECT_EQ(IdsInPhysicalOrder(file), (Ids{"m", "c", "x", "a"}));
  file.SetPhysicalOrderFromEnd();
  EXPECT_EQ(testing::ReadIds(file, /*forward=*/false), (Ids{"a", "x", "c", "m"}));
  file.SetPhysicalOrder(/*after=*/2);
  EXPECT_EQ(testing::ReadIds(file), (Ids{"x", "a"}));

  EXPECT_EQ(IdsInKeyOrder(file, testing::kIdKey), (Ids{"a", "c", "m", "x"}));
  ASSERT_TRUE(file.SetKeyOrderFromEnd(testing::kIdKey).ok());
  EXPECT_EQ(testing::ReadIds(file, /*forward=*/false), (Ids{"x", "m", "c", "a"}));

  // Turning round in the middle: Previous() after two Next() calls.
  ASSERT_TRUE(file.SetKeyOrder(testing::kIdKey).ok());
  Record record;
  ASSERT_TRUE(file.Next(record).ok());
  ASSERT_TRUE(file.Next(record).ok());
  EXPECT_EQ(IdOf(record), "c");
  EXPECT_EQ(file.position(), 2);
  ASSERT_TRUE(file.Previous(record).ok());
  EXPECT_EQ(IdOf(record), "a");
  EXPECT_EQ(file.Previous(record).code(), ErrorCode::kRecordNotAvailable);
}

TEST_P(KeyedFileTest, SetKeyOrderWithAProbePositionsBeforeTheFirstKeyNotBelowIt) {
  KeyedFile& file = Open();
  for (const char* id : {"B10", "A20", "B20", "C5"}) Add(file, MakeRecord(id));

  struct Case {
    const char* probe;
    Ids forward;
    Ids backward;
  };
  const Case cases[] = {
      {"B", {"B10", "B20", "C5"}, {"A20"}},
      {"b20", {"B20", "C5"}, {"B10", "A20"}},  // an equal key is included, in any case
      {"", {"A20", "B10", "B20", "C5"}, {}},
      {"D", {}, {"C5", "B20", "B10", "A20"}},
  };
  for (const Case& c : cases) {
    const Record probe = MakeRecord(c.probe);
    ASSERT_TRUE(file.SetKeyOrder(testing::kIdKey, &probe).ok());
    EXPECT_EQ(testing::ReadIds(file), c.forward) << "probe " << c.probe;
    ASSERT_TRUE(file.SetKeyOrder(testing::kIdKey, &probe).ok());
    EXPECT_EQ(testing::ReadIds(file, /*forward=*/false), c.backward) << "probe " << c.probe;
  }
}

TEST_P(KeyedFileTest, ReadingOnSeesRecordsAddedByAnotherSessionMeanwhile) {
  KeyedFile& file = Open();
  Add(file, MakeRecord("a"));
  Add(file, MakeRecord("c"));
  ASSERT_TRUE(file.SetKeyOrder(testing::kIdKey).ok());
  Record record;
  ASSERT_TRUE(file.Next(record).ok());

  Session other(storage_.target());
  KeyedFile& otherFile = OpenOrFail(other, FilePath());
  ASSERT_TRUE(otherFile.Add(MakeRecord("b")).ok());
  ASSERT_TRUE(otherFile.Add(MakeRecord("d")).ok());

  EXPECT_EQ(testing::ReadIds(file), (Ids{"b", "c", "d"}));
}

TEST_P(KeyedFileTest, PutAndDeleteKeepKeysCurrent) {
  KeyedFile& file = Open();
  Add(file, MakeRecord("a", "one"));
  Add(file, MakeRecord("b", "two"));

  ASSERT_TRUE(file.Put(1, MakeRecord("z", "one")).ok());
  EXPECT_EQ(IdsInKeyOrder(file, testing::kIdKey), (Ids{"b", "z"}));
  // Writing a record back with its own unique value is no collision.
  EXPECT_TRUE(file.Put(1, MakeRecord("Z", "uno")).ok());
  EXPECT_EQ(file.Put(1, MakeRecord("B")).code(), ErrorCode::kDuplicateKey);
  EXPECT_EQ(file.Put(9, MakeRecord("q")).code(), ErrorCode::kRecordNotFound);

  ASSERT_TRUE(file.Delete(2).ok());
  EXPECT_EQ(file.Delete(2).code(), ErrorCode::kRecordNotFound);
  Record record;
  EXPECT_EQ(file.Get(2, record).code(), ErrorCode::kRecordNotFound);
  EXPECT_EQ(IdsInKeyOrder(file, testing::kIdKey), (Ids{"Z"}));
  // A new record never reuses the number of a deleted one.
  EXPECT_EQ(*file.Add(MakeRecord("c")), 3);
}

TEST_P(KeyedFileTest, WritesRefuseRecordsThatDoNotFitTheLayout) {
  KeyedFile& file = Open();
  Record shortImage = MakeRecord("a");
  shortImage.image.pop_back();
  EXPECT_EQ(file.Add(shortImage).status().code(), ErrorCode::kInvalidValue);
  const Record longMemo = MakeRecord("a", "", 0, std::string(201, 'x'));
  EXPECT_EQ(file.Add(longMemo).status().code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(file.SetKeyOrder(7).code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(*file.RecordCount(), 0);
}

TEST_P(KeyedFileTest, AppendLeavesKeysStaleUntilBuildKeys) {
  KeyedFile& file = Open();
  Add(file, MakeRecord("b"));
  ASSERT_TRUE(file.Append(MakeRecord("a")).ok());

  // Every use of a key says so rather than silently missing the new record.
  Record record;
  ASSERT_TRUE(file.SetKeyOrder(testing::kIdKey).ok());
  EXPECT_EQ(file.Next(record).code(), ErrorCode::kKeysNeedRebuild);
  ASSERT_TRUE(file.SetKeyOrderFromEnd(testing::kNameKey).ok());
  EXPECT_EQ(file.Previous(record).code(), ErrorCode::kKeysNeedRebuild);
  EXPECT_EQ(file.Fetch(testing::kIdKey, MakeRecord("a"), record).code(),
            ErrorCode::kKeysNeedRebuild);
  EXPECT_EQ(file.Add(MakeRecord("c")).status().code(), ErrorCode::kKeysNeedRebuild);
  EXPECT_EQ(file.Put(1, MakeRecord("b2")).code(), ErrorCode::kKeysNeedRebuild);
  EXPECT_EQ(IdsInPhysicalOrder(file), (Ids{"b", "a"}));

  ASSERT_TRUE(file.BuildKeys().ok());
  EXPECT_EQ(IdsInKeyOrder(file, testing::kIdKey), (Ids{"a", "b"}));
  EXPECT_EQ(file.Add(MakeRecord("A")).status().code(), ErrorCode::kDuplicateKey);
}

TEST_P(KeyedFileTest, OpenRebuildsKeysLeftStaleByAnotherSession) {
  {
    Session writer(storage_.target());
    KeyedFile& file = OpenOrFail(writer, FilePath());
    ASSERT_TRUE(file.Append(MakeRecord("b")).ok());
    ASSERT_TRUE(file.Append(MakeRecord("a")).ok());
  }
  KeyedFile& file = Open();
  EXPECT_EQ(IdsInKeyOrder(file, testing::kIdKey), (Ids{"a", "b"}));
}

TEST_P(KeyedFileTest, BuildKeysOnAUniqueCollisionFailsAndLeavesTheFileAsItWas) {
  KeyedFile& file = Open();
  Add(file, MakeRecord("a", "first"));
  ASSERT_TRUE(file.Append(MakeRecord("x")).ok());
  ASSERT_TRUE(file.Append(MakeRecord("A", "second")).ok());

  const Status built = file.BuildKeys();
  EXPECT_EQ(built.code(), ErrorCode::kDuplicateKey);
  EXPECT_NE(built.message().find("TST:IdKey"), std::string::npos) << built.message();
  EXPECT_EQ(IdsInPhysicalOrder(file), (Ids{"a", "x", "A"}));
  Record record;
  ASSERT_TRUE(file.SetKeyOrder(testing::kNameKey).ok());
  EXPECT_EQ(file.Next(record).code(), ErrorCode::kKeysNeedRebuild);

  {
    Session other(storage_.target());
    Result<KeyedFile*> reopened = other.Open(testing::kSchema, FilePath());
    EXPECT_EQ(reopened.status().code(), ErrorCode::kKeysNeedRebuild);
    EXPECT_NE(reopened.status().message().find("TST:IdKey"), std::string::npos);
  }

  ASSERT_TRUE(file.Delete(3).ok());
  ASSERT_TRUE(file.BuildKeys().ok());
  EXPECT_EQ(IdsInKeyOrder(file, testing::kNameKey), (Ids{"x", "a"}));
}

// The same file with its keys declared differently: the keys are rebuilt for
// the new declaration on open, records and numbers unchanged.
inline constexpr KeyDef kOtherKeys[] = {
    {.label = "TST:GroupOnly", .components = {"TST:GROUP"}},
};
inline constexpr FileSchema kOtherKeysSchema{
    "Test",           "TST",      "Data\\TEST.DAT", testing::kRecordLength,
    testing::kFields, kOtherKeys, testing::kMemos};

TEST_P(KeyedFileTest, OpenRebuildsKeysWhenTheKeyDeclarationsChanged) {
  {
    Session writer(storage_.target());
    KeyedFile& file = OpenOrFail(writer, FilePath());
    ASSERT_TRUE(file.Add(MakeRecord("a", "", 3, "memo a")).ok());
    ASSERT_TRUE(file.Add(MakeRecord("b", "", 1)).ok());
    ASSERT_TRUE(file.Add(MakeRecord("c", "", 2)).ok());
    ASSERT_TRUE(file.Delete(3).ok());
  }
  {
    Session reader(storage_.target());
    KeyedFile& file = OpenOrFail(reader, FilePath(), kOtherKeysSchema);
    EXPECT_EQ(IdsInKeyOrder(file, 0), (Ids{"b", "a"}));
    Record record;
    ASSERT_TRUE(file.Get(1, record).ok());
    EXPECT_EQ(record.memos[0], "memo a");
    EXPECT_EQ(*file.Add(MakeRecord("d", "", 0)), 4) << "record numbers are never reused";
  }
  KeyedFile& file = Open();  // and back to the first declaration
  EXPECT_EQ(IdsInKeyOrder(file, testing::kIdKey), (Ids{"a", "b", "d"}));
}

inline constexpr fields::FieldDef kShorterFields[] = {testing::kId};
inline constexpr FileSchema kShorterSchema{"Short", "SHO", "SHORT.DAT", 20, kShorterFields, {}, {}};

TEST_P(KeyedFileTest, ADifferentRecordLengthIsAnInvalidRecordDeclaration) {
  Open();
  Session other(storage_.target());
  Result<KeyedFile*> file = other.Open(kShorterSchema, FilePath());
  EXPECT_EQ(file.status().code(), ErrorCode::kInvalidRecordDeclaration);
  // Within one session the file is attached once; a second layout is refused too.
  EXPECT_EQ(session_.Open(kShorterSchema, FilePath()).status().code(),
            ErrorCode::kInvalidRecordDeclaration);
}

TEST_P(KeyedFileTest, TheSameFileOpenedTwiceInASessionSharesRecordsButNotPositions) {
  KeyedFile& first = Open();
  KeyedFile& second = Open();
  Add(first, MakeRecord("a"));
  Add(second, MakeRecord("b"));
  Record record;
  first.SetPhysicalOrder();
  ASSERT_TRUE(first.Next(record).ok());
  second.SetPhysicalOrderFromEnd();
  ASSERT_TRUE(second.Previous(record).ok());
  EXPECT_EQ(IdOf(record), "b");
  ASSERT_TRUE(first.Next(record).ok());
  EXPECT_EQ(IdOf(record), "b");
  session_.Close(&first);
  EXPECT_EQ(*second.RecordCount(), 2);
}

TEST_P(KeyedFileTest, ASessionHoldsTenFilesAtOnce) {
  std::vector<KeyedFile*> files;
  for (int i = 0; i < 10; ++i) {
    Result<KeyedFile*> file =
        session_.Open(testing::kSchema, storage_ / ("file" + std::to_string(i) + ".dat"));
    ASSERT_TRUE(file.ok()) << i << ": " << file.status().ToString();
    files.push_back(*file);
  }
  for (KeyedFile* file : files) ASSERT_TRUE(file->Add(MakeRecord("x")).ok());
  Result<KeyedFile*> eleventh = session_.Open(testing::kSchema, storage_ / "file10.dat");
  EXPECT_EQ(eleventh.status().code(), ErrorCode::kFileSystemError);
  EXPECT_NE(eleventh.status().message().find("at most 10 files"), std::string::npos);
  EXPECT_FALSE(storage_.Exists(storage_ / "file10.dat", testing::kSchema));
  // Closing one makes room again.
  session_.Close(files[3]);
  EXPECT_TRUE(session_.Open(testing::kSchema, storage_ / "file10.dat").ok());
}

INSTANTIATE_TEST_SUITE_P(Backends, KeyedFileTest, testing::kBothBackends, testing::BackendName);

}  // namespace
}  // namespace paltrix::storage
