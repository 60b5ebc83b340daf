#include "framework/errors/error_manager.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/errors/scripted_presenter.h"
#include "tests/support/temp_directory.h"

namespace paltrix::errors {
namespace {

const LocalDateTime kNow{{2026, 12, 8}, 7, 5, 9, 0};

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ErrorManagerTest : public ::testing::Test {
 protected:
  ErrorManagerTest() : log(folder / "ABCError.Log"), manager(presenter, terminator, clock) {
    manager.Init(log);
    SetRuntimeError(Status::Ok());
  }

  testing::TempDirectory folder;
  ScriptedPresenter presenter;
  RecordingTerminator terminator;
  FixedClock clock{kNow};
  StandardErrorLog log;
  ErrorManager manager;
};

TEST_F(ErrorManagerTest, FailedOpenShowsMessage26ThenEndsTheProgram) {
  struct BoxCountAtHalt final : ProgramTerminator {
    explicit BoxCountAtHalt(const ScriptedPresenter& p) : presenter(p) {}
    void Halt(std::string_view reason) override {
      reasons.emplace_back(reason);
      boxesShown = presenter.boxes().size();
    }
    const ScriptedPresenter& presenter;
    std::vector<std::string> reasons;
    std::size_t boxesShown = 0;
  } halt(presenter);
  manager.SetTerminator(halt);

  SetRuntimeError(Status(ErrorCode::kFileNotFound, ""));
  manager.SetFile("PRODUKT   ");
  EXPECT_EQ(manager.Throw(msg::kFileOpenError), kLevelFatal);

  ASSERT_EQ(presenter.boxes().size(), 1u);
  const MessageBoxRequest box = presenter.boxes()[0];
  EXPECT_EQ(box.text,
            "File PRODUKT could not be opened.  Error: File Not Found (2)."
            "  Press OK to end this application");
  EXPECT_EQ(box.title, "File Access Error");
  EXPECT_EQ(box.icon, MessageIcon::kInformation);
  EXPECT_EQ(box.buttons, kButtonOk);
  ASSERT_EQ(halt.reasons, std::vector<std::string>{"File Access Error"});
  EXPECT_EQ(halt.boxesShown, 1u) << "the program ends only after the box was shown";
}

TEST_F(ErrorManagerTest, ErrorTextShowsTheRuntimeTextOrTheDriversOwn) {
  struct Row {
    const char* note;
    Status status;
    std::string expected;
  };
  const Row rows[] = {
      {"run-time code and the status message", Status(ErrorCode::kAccessDenied, "Adgang nægtet"),
       "File PRODUKT could not be opened.  Error: Adgang nægtet (5)."},
      {"code 90: the driver's text and code",
       Status(ErrorCode::kFileSystemError, "File System Error", 13, "Permission denied"),
       "File PRODUKT could not be opened.  Error: Permission denied (13)."},
      {"code 100 without a driver text: the run-time's text",
       Status(ErrorCode::kInvalidValue, "Ugyldig værdi"),
       "File PRODUKT could not be opened.  Error: Ugyldig værdi (100)."},
  };
  manager.SetFile("PRODUKT");
  for (const Row& row : rows) {
    SetRuntimeError(row.status);
    manager.Throw(msg::kFileOpenError);
    EXPECT_EQ(presenter.boxes().back().text, row.expected + std::string(kFatalSuffix)) << row.note;
  }
}

TEST_F(ErrorManagerTest, EveryPlaceholderGetsItsOwnValue) {
  const MessageDefinition custom[] = {
      {900, 5, "Custom",
       "%FileErrorCode|%FileError|%File|%Key|%ErrorCode|%Error|%Message|%Field|%Procedure|"
       "%Category"},
      {901, 5, "Previous", "before: %Previous"},
  };
  ASSERT_TRUE(manager.AddErrors(*EncodeMessageTable(custom)).ok());

  SetRuntimeError(Status(ErrorCode::kFileSystemError, "File System Error", 28, "No space"));
  manager.SetFile("DFIRMA");
  manager.SetKey("FIR:KEY");
  manager.SetField("FIR:NAVN  ");
  manager.SetProcedureName("Hovedmenu");
  manager.SetProcedureName("UpdateFirma");
  manager.ThrowMessage(900, "besked  ");
  EXPECT_EQ(presenter.boxes().back().text,
            "28|No space|DFIRMA|FIR:KEY|90|File System Error|besked|FIR:NAVN|UpdateFirma|");

  manager.RemoveProcedureName();
  manager.Throw(901);
  EXPECT_EQ(presenter.boxes().back().text,
            "before: %FileErrorCode|%FileError|%File|%Key|%ErrorCode|%Error|%Message|%Field|"
            "%Procedure|%Category")
      << "the previous message's text is inserted as it is stored";
  manager.Throw(901);
  EXPECT_EQ(presenter.boxes().back().text, "before: before: %Previous");
}

TEST_F(ErrorManagerTest, OperatorTextIsNotExpandedAgain) {
  manager.SetField("%File");
  manager.SetFile("DFIRMA");
  manager.ThrowMessage(msg::kValueOutOfRange, "%Field..%ErrorText");
  EXPECT_EQ(presenter.boxes().back().text,
            "The value of %File must be in range %Field..%ErrorText.");
}

TEST_F(ErrorManagerTest, LevelsGiveTheirResults) {
  struct Row {
    const char* note;
    int number;
    int answer;
    int expected;
  };
  const Row rows[] = {
      {"confirm delete, Yes", msg::kConfirmDelete, kButtonYes, kLevelBenign},
      {"confirm delete, No", msg::kConfirmDelete, kButtonNo, kLevelCancel},
      {"notify", msg::kNoRecords, kButtonOk, kLevelNotify},
  };
  for (const Row& row : rows) {
    presenter.QueueAnswer(row.answer);
    EXPECT_EQ(manager.Throw(row.number), row.expected) << row.note;
  }
  const std::vector<MessageBoxRequest> boxes = presenter.boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "Are you sure you want to delete the highlighted record?");
  EXPECT_EQ(boxes[0].icon, MessageIcon::kExclamation);
  EXPECT_EQ(boxes[0].buttons, kButtonYes | kButtonNo);
  EXPECT_EQ(boxes[0].defaultButton, kButtonYes);
  EXPECT_EQ(boxes[2].icon, MessageIcon::kInformation);
  EXPECT_EQ(boxes[2].buttons, kButtonOk);
  EXPECT_TRUE(terminator.reasons().empty());
}

TEST_F(ErrorManagerTest, ProgramErrorsAndUnknownLevelsEndTheProgram) {
  const MessageDefinition custom[] = {{700, 9, "Odd level", "odd"}};
  ASSERT_TRUE(manager.AddErrors(*EncodeMessageTable(custom)).ok());
  manager.SetFile("X");
  manager.Throw(msg::kFileNotOpen);  // level 2
  manager.Throw(700);
  EXPECT_EQ(terminator.reasons(), (std::vector<std::string>{"File Usage Error", "Odd level"}));
}

TEST_F(ErrorManagerTest, UnknownNumberShowsNothing) {
  EXPECT_EQ(manager.Throw(32), 0);
  EXPECT_EQ(manager.Throw(12345), 0);
  EXPECT_EQ(manager.Message(32, kButtonOk, kButtonOk), 0);
  EXPECT_TRUE(presenter.boxes().empty());
}

TEST_F(ErrorManagerTest, AddedMessagesOverrideBuiltInOnes) {
  const MessageDefinition custom[] = {{msg::kNoRecords, 5, "Ingen poster", "Der er ingen poster."}};
  ASSERT_TRUE(manager.AddErrors(*EncodeMessageTable(custom)).ok());
  manager.Throw(msg::kNoRecords);
  EXPECT_EQ(presenter.boxes().back().title, "Ingen poster");
}

TEST_F(ErrorManagerTest, TruncatedTableIsRefusedAndAddsNothing) {
  const MessageDefinition custom[] = {{800, 5, "First", "first"}, {801, 5, "Second", "second"}};
  std::vector<std::uint8_t> stored = *EncodeMessageTable(custom);
  stored.pop_back();
  const Status refused = manager.AddErrors(stored);
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.message().find("entry 2"), std::string::npos) << refused.message();
  EXPECT_EQ(manager.Throw(800), 0);
  EXPECT_TRUE(presenter.boxes().empty());
}

TEST_F(ErrorManagerTest, SilentShowsNothingButStillEnds) {
  manager.SetSilent(true);
  EXPECT_EQ(manager.Throw(msg::kConfirmDelete), kLevelBenign);
  EXPECT_EQ(manager.Throw(msg::kNoRecords), kLevelNotify);
  EXPECT_EQ(manager.Message(msg::kConfirmDelete, kButtonYes | kButtonNo, kButtonNo), kButtonNo);
  manager.Throw(msg::kFileOpenError);
  EXPECT_TRUE(presenter.boxes().empty());
  EXPECT_EQ(terminator.reasons().size(), 1u);
}

TEST_F(ErrorManagerTest, MessageShowsAPlainBoxWithoutLogOrHistory) {
  manager.SetLogErrors(true);
  manager.SetHistoryThreshold(-1);
  manager.SetMessageStyle(7);
  presenter.QueueAnswer(kButtonCancel);
  EXPECT_EQ(manager.Message(msg::kFileOpenError, kButtonOk | kButtonCancel, kButtonOk),
            kButtonCancel);
  const MessageBoxRequest box = presenter.boxes().at(0);
  EXPECT_EQ(box.text, "File  could not be opened.  Error:  (0).");
  EXPECT_EQ(box.icon, MessageIcon::kExclamation);
  EXPECT_EQ(box.buttons, kButtonOk | kButtonCancel);
  EXPECT_EQ(box.style, 7);
  EXPECT_TRUE(terminator.reasons().empty()) << "Message never ends the program";
  EXPECT_TRUE(manager.History().empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "ABCError.Log"));
}

TEST_F(ErrorManagerTest, HistoryKeepsTheLastEntriesUpToTheThreshold) {
  manager.SetHistoryThreshold(3);
  manager.SetHistoryViewLevel(kLevelFatal);
  const int numbers[] = {msg::kNoRecords, msg::kConfirmDelete, msg::kDeleteNotAllowed,
                         msg::kInsertNotAllowed};
  for (int number : numbers) manager.Throw(number);

  const std::vector<HistoryEntry> history = manager.History();
  ASSERT_EQ(history.size(), 3u);
  EXPECT_EQ(history[0].id, msg::kConfirmDelete);
  EXPECT_EQ(history[2].id, msg::kInsertNotAllowed);
  EXPECT_EQ(history[2].text, "This form cannot be used to insert a record");
  EXPECT_EQ(history[2].category, "ABC");
  EXPECT_TRUE(presenter.boxes().empty()) << "other levels are only recorded";
  EXPECT_TRUE(presenter.historyWindows().empty());

  manager.SetHistoryThreshold(-1);
  for (int i = 0; i < 10; ++i) manager.Throw(msg::kNoRecords);
  EXPECT_EQ(manager.History().size(), 13u);
}

TEST_F(ErrorManagerTest, MessagesOfTheViewLevelOpenTheHistoryWindow) {
  manager.SetHistoryThreshold(5);
  manager.SetHistoryViewLevel(kLevelNotify);
  manager.SetHistoryResetOnView(true);
  manager.SetDefaultCategory("Lager");
  manager.Throw(msg::kConfirmDelete);
  manager.Throw(msg::kNoRecords);

  const std::vector<ScriptedPresenter::HistoryRequest> windows = presenter.historyWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].title, "No Records");
  EXPECT_EQ(windows[0].buttons, kButtonOk);
  ASSERT_EQ(windows[0].entries.size(), 2u);
  EXPECT_EQ(windows[0].entries[1].category, "Lager");
  EXPECT_TRUE(manager.History().empty()) << "emptied after viewing";
}

TEST_F(ErrorManagerTest, ViewHistoryShowsTheEntries) {
  manager.SetHistoryThreshold(-1);
  manager.Throw(msg::kNoRecords);
  presenter.QueueAnswer(kButtonHelp);
  EXPECT_EQ(manager.ViewHistory(), kButtonHelp);
  const ScriptedPresenter::HistoryRequest window = presenter.historyWindows().at(0);
  EXPECT_EQ(window.title, "Errors History");
  EXPECT_EQ(window.buttons, kButtonOk | kButtonHelp);
  EXPECT_EQ(window.defaultButton, kButtonOk);
  EXPECT_EQ(window.entries.size(), 1u);
  EXPECT_EQ(manager.History().size(), 1u);
}

TEST_F(ErrorManagerTest, LogsOneLinePerShownMessage) {
  manager.SetLogErrors(true);
  manager.Throw(msg::kNoRecords);
  manager.Throw(msg::kRecordInsertError);  // a text with line breaks
  manager.Throw(9999);                     // unknown: not shown, not logged
  EXPECT_EQ(ReadLines(folder / "ABCError.Log"),
            (std::vector<std::string>{
                "08/12/2026@07:05:09 --> There are no records available to process.",
                "08/12/2026@07:05:09 --> An error was experienced during the creation of a "
                "record. File:  Error:  (0).",
            }));
  EXPECT_EQ(log.openCount(), 0) << "the log is closed after each line";
}

TEST_F(ErrorManagerTest, AnUnwritableLogDoesNotStopTheMessage) {
  manager.SetLogErrors(true);
  // A folder where the log file should be cannot be opened, not even by root.
  std::filesystem::create_directory(folder / "ABCError.Log");
  EXPECT_EQ(manager.Throw(msg::kNoRecords), kLevelNotify);
  EXPECT_EQ(presenter.boxes().size(), 1u);
}

TEST_F(ErrorManagerTest, AReadOnlyLogDoesNotStopTheMessage) {
  manager.SetLogErrors(true);
  { std::ofstream(folder / "ABCError.Log") << "old line\n"; }
  ASSERT_EQ(chmod((folder / "ABCError.Log").c_str(), 0444), 0);
  EXPECT_EQ(manager.Throw(msg::kNoRecords), kLevelNotify);
  EXPECT_EQ(presenter.boxes().size(), 1u);
  if (geteuid() != 0) {  // root writes regardless of the mode
    EXPECT_EQ(ReadLines(folder / "ABCError.Log"), std::vector<std::string>{"old line"});
  }
}

TEST_F(ErrorManagerTest, ThreadsKeepTheirOwnContext) {
  constexpr int kRounds = 200;
  auto report = [&](const std::string& file, int code) {
    for (int i = 0; i < kRounds; ++i) {
      SetRuntimeError(Status(static_cast<ErrorCode>(code), ""));
      manager.SetFile(file);
      manager.Throw(msg::kFileCloseError);
    }
  };
  std::thread first(report, "PRODUKT", 2);
  std::thread second(report, "DFIRMA", 5);
  first.join();
  second.join();

  int produkt = 0;
  int dfirma = 0;
  for (const MessageBoxRequest& box : presenter.boxes()) {
    if (box.text == "File PRODUKT could not be closed.  Error: File Not Found (2).") {
      ++produkt;
    } else if (box.text == "File DFIRMA could not be closed.  Error: Access Denied (5).") {
      ++dfirma;
    } else {
      ADD_FAILURE() << "mixed context: " << box.text;
    }
  }
  EXPECT_EQ(produkt, kRounds);
  EXPECT_EQ(dfirma, kRounds);
}

TEST_F(ErrorManagerTest, ProcedureNamesArePerThread) {
  manager.SetProcedureName("Main");
  std::thread other([&] {
    manager.SetProcedureName("Settings");
    manager.RemoveProcedureName();
    manager.RemoveProcedureName();  // nothing left on this thread: no effect elsewhere
  });
  other.join();
  const MessageDefinition custom[] = {{600, 5, "P", "%Procedure"}};
  ASSERT_TRUE(manager.AddErrors(*EncodeMessageTable(custom)).ok());
  manager.Throw(600);
  EXPECT_EQ(presenter.boxes().back().text, "Main");
}

TEST_F(ErrorManagerTest, KillForgetsTheMessages) {
  manager.Kill();
  EXPECT_EQ(manager.Throw(msg::kFileOpenError), 0);
  EXPECT_TRUE(presenter.boxes().empty());
  EXPECT_TRUE(terminator.reasons().empty());
  manager.Init(log);
  EXPECT_EQ(manager.Throw(msg::kNoRecords), kLevelNotify);
}

TEST(StandardErrorLog, OpensOnceAndClosesOnTheLastClose) {
  testing::TempDirectory folder;
  StandardErrorLog log(folder / "ABCError.Log");
  EXPECT_EQ(log.Write("not open"), kLogFailed);
  ASSERT_EQ(log.Open(), kLogOk);
  ASSERT_EQ(log.Open(), kLogOk);
  EXPECT_EQ(log.openCount(), 2);
  EXPECT_EQ(log.Write("one"), kLogOk);
  EXPECT_EQ(log.Close(), kLogOk);
  EXPECT_EQ(log.Write("two"), kLogOk) << "still open after the inner close";
  EXPECT_EQ(log.Close(), kLogOk);
  EXPECT_EQ(log.Write("three"), kLogFailed);
  EXPECT_EQ(log.Write(std::string(2000, 'x')), kLogFailed);
  ASSERT_EQ(log.Open(), kLogOk);
  EXPECT_EQ(log.Write(std::string(2000, 'x')), kLogOk);
  EXPECT_EQ(log.Close(), kLogOk);
  const std::vector<std::string> lines = ReadLines(folder / "ABCError.Log");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "one");
  EXPECT_EQ(lines[2].size(), StandardErrorLog::kMaxLineLength);
}

}  // namespace
}  // namespace paltrix::errors
