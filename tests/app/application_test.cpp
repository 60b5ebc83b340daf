#include "app/ui/application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings/settings_ini_name.h"
#include "app/ui/main_frame.h"
#include "app/ui/network_trace.h"
#include "app/ui/window_procedures.h"
#include "framework/errors/scripted_presenter.h"
#include "tests/app/recording_desktop_settings.h"
#include "tests/app/window_test_fixture.h"
#include "tests/support/temp_directory.h"

namespace paltrix::app {
namespace {

using testing::RecordingDesktopSettings;

constexpr const char* kCloseLine =
    "[Wirelet Template] Closing Down Wirelet (Object) version 5.44 in application Paltrix\n";

TEST(NetworkTracingRequested, OnWithATraceSwitchUnlessNoLogIsGiven) {
  struct Case {
    std::vector<std::string> arguments;
    bool on;
  };
  const Case cases[] = {
      {{}, false},
      {{"/netall"}, true},
      {{"/wireletlog"}, true},
      {{"/wireletlogerrors"}, true},
      {{"/neterrors"}, true},
      {{"/netnolog"}, false},
      {{"/netnolog", "/netall"}, false},
      {{"/netall", "/netnolog"}, false},
      {{"/NetAll"}, true},
      {{"-netall"}, true},
      {{"-NETNOLOG", "/neterrors"}, false},
      {{"netall"}, false},
      {{"/netall2"}, false},
      {{"/"}, false},
      {{"--netall"}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NetworkTracingRequested(c.arguments), c.on) << ::testing::PrintToString(c.arguments);
  }
}

// Writes "created LABEL" / "destroyed LABEL" into a shared event log.
class RecordingManagerObserver final : public records::ManagerLifecycleObserver {
 public:
  explicit RecordingManagerObserver(std::vector<std::string>& events) : events_(events) {}
  void Created(std::string_view label) override {
    events_.push_back("created " + std::string(label));
  }
  void Destroyed(std::string_view label) override {
    events_.push_back("destroyed " + std::string(label));
  }

 private:
  std::vector<std::string>& events_;
};

class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest() { std::filesystem::create_directory(folder_ / "Data"); }

  // Runs the program with `arguments` and ends it with `close` once the frame
  // is on screen. Returns the exit status.
  int RunAndClose(std::vector<std::string> arguments,
                  const std::function<void(MainFrame&)>& close) {
    Application application({
        .arguments = std::move(arguments),
        .desktopSettings = desktop_,
        .clock = clock_,
        .procedures = procedures_,
        .errorManager = errorManager_,
        .diagnostics = diagnostics_,
        .fileManagerObserver = &managers_,
    });
    return application.Run([&](MainFrame& frame) {
      callsWhileShown_ = desktop_.calls();
      events_.push_back("frame shown");
      settingsIniNameWhileShown_ = settings::CurrentSettingsIniName();
      frameSizeWhileShown_ = frame.geometry().size();
      traceWhileShown_ = diagnostics_.str();
      close(frame);
      if (!QTest::qWaitFor([&] { return !frame.isVisible(); })) {
        ADD_FAILURE() << "the frame did not close";
        frame.close();
      }
    });
  }

  int RunAndCloseWithF8(std::vector<std::string> arguments) {
    return RunAndClose(std::move(arguments), [](MainFrame& frame) {
      QApplication::setActiveWindow(&frame);
      ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
      QTest::keyClick(&frame, Qt::Key_F8);
    });
  }

  paltrix::testing::TempDirectory folder_;
  paltrix::testing::ScopedWorkingDirectory inFolder_{folder_.path()};
  RecordingDesktopSettings desktop_{true};
  FixedClock clock_{{{2026, 3, 7}, 9, 5, 0, 0}};
  testing::RecordingPrinting printing_;
  WindowProcedures procedures_{printing_};
  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errorManager_{presenter_, terminator_, clock_};
  std::ostringstream diagnostics_;
  std::vector<std::string> events_;
  RecordingManagerObserver managers_{events_};
  std::string settingsIniNameWhileShown_;
  QSize frameSizeWhileShown_;
  std::vector<std::string> callsWhileShown_;
  std::string traceWhileShown_;
};

TEST_F(ApplicationTest, DragFullWindowsIsOffWhileTheFrameRunsAndOnAgainAfter) {
  EXPECT_EQ(RunAndCloseWithF8({}), 0);
  EXPECT_EQ(callsWhileShown_, (std::vector<std::string>{"get", "set 0 flags 3"}));
  EXPECT_EQ(desktop_.calls(), (std::vector<std::string>{"get", "set 0 flags 3", "set 1 flags 3"}));
  EXPECT_TRUE(desktop_.value());
}

TEST_F(ApplicationTest, DragFullWindowsThatWasOffIsLeftAlone) {
  desktop_ = RecordingDesktopSettings(false);
  EXPECT_EQ(RunAndCloseWithF8({}), 0);
  EXPECT_EQ(desktop_.calls(), (std::vector<std::string>{"get"}));
  EXPECT_FALSE(desktop_.value());
}

TEST_F(ApplicationTest, NetAllWritesStartLinesBeforeTheFrameAndTheCloseLineAfter) {
  EXPECT_EQ(RunAndCloseWithF8({"/netall"}), 0);
  EXPECT_NE(traceWhileShown_.find("version 5.44"), std::string::npos);
  EXPECT_NE(traceWhileShown_.find("application Paltrix"), std::string::npos);
  EXPECT_EQ(traceWhileShown_.find("Closing Down"), std::string::npos);
  const std::string trace = diagnostics_.str();
  ASSERT_GE(trace.size(), std::string(kCloseLine).size());
  EXPECT_EQ(trace.substr(trace.size() - std::string(kCloseLine).size()), kCloseLine);
}

TEST_F(ApplicationTest, NoLogSilencesTheTrace) {
  EXPECT_EQ(RunAndCloseWithF8({"/netnolog", "/netall"}), 0);
  EXPECT_EQ(diagnostics_.str(), "");
}

TEST_F(ApplicationTest, AnUnreadableDesktopSettingIsReportedAndLeftAlone) {
  desktop_.FailReads(Status(ErrorCode::kFileSystemError, "desktop.ini", 13, "Permission denied"));
  EXPECT_EQ(RunAndCloseWithF8({}), 0);
  EXPECT_EQ(desktop_.calls(), (std::vector<std::string>{"get"}));
  EXPECT_NE(diagnostics_.str().find("Permission denied"), std::string::npos);
}

TEST_F(ApplicationTest, TerminationSignalsCloseTheFrameAndRestoreTheDesktop) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    desktop_ = RecordingDesktopSettings(true);
    EXPECT_EQ(RunAndClose({"/netall"}, [signal](MainFrame&) { std::raise(signal); }), 0);
    EXPECT_TRUE(desktop_.value()) << signal;
    EXPECT_NE(diagnostics_.str().find(kCloseLine), std::string::npos) << signal;
  }
}

TEST_F(ApplicationTest, ASignalAlsoEndsACatalogueStillOpenOnTheFrame) {
  EXPECT_EQ(
      RunAndClose({},
                  [](MainFrame& frame) {
                    QTimer::singleShot(50, [] { std::raise(SIGTERM); });
                    frame.catalogueAction().trigger();  // modal: returns once the signal closed it
                  }),
      0);
  EXPECT_TRUE(desktop_.value());
}

TEST_F(ApplicationTest, StartsAndStopsInOrder) {
  desktop_.AlsoRecordIn(events_);
  EXPECT_EQ(RunAndCloseWithF8({}), 0);
  const std::vector<std::string> expected = {
      "created Firma",
      "created Ordrespec",
      "created Ordrelinier",
      "created Prisgrp",
      "created Adresser",
      "created Ordrehoved",
      "created Printer",
      "created PRODUcT",
      "created Produkt",
      "created Bruger",
      "created HISTORIK",
      "created A5etiket",
      "get",
      "set 0 flags 3",
      "frame shown",
      "set 1 flags 3",
      "destroyed A5etiket",
      "destroyed HISTORIK",
      "destroyed Bruger",
      "destroyed Produkt",
      "destroyed PRODUcT",
      "destroyed Printer",
      "destroyed Ordrehoved",
      "destroyed Adresser",
      "destroyed Prisgrp",
      "destroyed Ordrelinier",
      "destroyed Ordrespec",
      "destroyed Firma",
  };
  EXPECT_EQ(events_, expected);
}

TEST_F(ApplicationTest, TheFrameTakesTheSettingsIniNameWhenItOpens) {
  std::ofstream("splab.ini") << "[STARTUP]\nINIFILE=.\\printer.ini\n";
  EXPECT_EQ(RunAndCloseWithF8({}), 0);
  EXPECT_EQ(settingsIniNameWhileShown_, ".\\printer.ini");
}

TEST_F(ApplicationTest, TheFrameKeepsItsPlaceInTheFrameworkIni) {
  std::ofstream("Paltrix10.INI") << "; window positions\n[P1$APPFRAME]\nX=40\nY=30\n"
                                    "Width=640\nHeight=400\n";
  EXPECT_EQ(RunAndCloseWithF8({}), 0);
  EXPECT_EQ(frameSizeWhileShown_, QSize(640, 400));

  std::ifstream in("Paltrix10.INI");
  const std::string text(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(text.find("; window positions"), std::string::npos) << text;
  EXPECT_NE(text.find("Width=640"), std::string::npos) << text;
}

TEST_F(ApplicationTest, ImplausibleOrUnreadableFrameworkIniIsNotFatal) {
  for (const char* stored : {"X=0\nY=0\nWidth=5\nHeight=999999\n",
                             "X=2147483647\nY=-2147483648\nWidth=2147483647\nHeight=640\n"}) {
    std::ofstream("Paltrix10.INI") << "[P1$APPFRAME]\n" << stored;
    EXPECT_EQ(RunAndCloseWithF8({}), 0);
    EXPECT_GE(frameSizeWhileShown_.width(), 100) << stored;
    EXPECT_LE(frameSizeWhileShown_.width(), 20000) << stored;
    EXPECT_LE(frameSizeWhileShown_.height(), 20000) << stored;
  }

  std::filesystem::remove("Paltrix10.INI");
  std::filesystem::create_directory("Paltrix10.INI");
  EXPECT_EQ(RunAndCloseWithF8({}), 0);
  EXPECT_NE(diagnostics_.str().find("framework INI file not used"), std::string::npos)
      << diagnostics_.str();
}

}  // namespace
}  // namespace paltrix::app
