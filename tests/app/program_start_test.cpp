#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/temp_directory.h"

// Starts the real program as an operator would, in a working directory with a
// Data folder, and lets it close its frame as soon as it is on screen.
namespace paltrix::app {
namespace {

struct ProgramRun {
  int exitCode = -1;
  bool finished = false;
  std::string standardError;
};

ProgramRun RunProgram(const std::filesystem::path& workingDirectory,
                      const std::filesystem::path& desktopSettings, const QStringList& arguments) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("PALTRIX_QUIT_AFTER_SHOWN", "1");
  environment.insert("PALTRIX_DESKTOP_SETTINGS", QString::fromStdString(desktopSettings.string()));
  program.setProcessEnvironment(environment);
  program.setWorkingDirectory(QString::fromStdString(workingDirectory.string()));
  program.start(PALTRIX_EXECUTABLE, arguments);
  ProgramRun run;
  run.finished = program.waitForFinished(60'000);
  if (!run.finished) program.kill();
  run.exitCode = program.exitCode();
  run.standardError = program.readAllStandardError().toStdString();
  return run;
}

TEST(ProgramStart, StartsShowsTheFrameAndEndsCleanly) {
  paltrix::testing::TempDirectory folder;
  std::filesystem::create_directory(folder / "Data");
  const std::filesystem::path desktop = folder / "desktop.ini";
  std::ofstream(desktop) << "[Desktop]\nDragFullWindows=1\n";

  const ProgramRun run = RunProgram(folder.path(), desktop, {"/netall"});
  ASSERT_TRUE(run.finished) << run.standardError;
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  EXPECT_NE(run.standardError.find("[Wirelet Template] Closing Down Wirelet (Object) version 5.44 "
                                   "in application Paltrix"),
            std::string::npos)
      << run.standardError;

  EXPECT_TRUE(std::filesystem::exists(folder / "Paltrix10.INI"))
      << "the framework INI file keeps the frame's place";

  std::ifstream in(desktop);
  const std::string settings(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(settings.find("DragFullWindows=1"), std::string::npos) << settings;
}

}  // namespace
}  // namespace paltrix::app
