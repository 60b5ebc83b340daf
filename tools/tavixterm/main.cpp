// tavixterm: opens a serial port in the tavix32 terminal window (ANSI screen, DoorWay keys,
// capture, uploads and downloads, automatic Zmodem download) and runs until the window closes.

#include <CLI/CLI.hpp>
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "tavix32.h"
#include "transfer_request.h"

namespace {

// The port a device path given on the command line is opened as.
constexpr int kDevicePathPort = TAVIX_PORT_COUNT - 1;
constexpr int kExitUsage = 64;

constexpr const char* kFooter = R"(Exit status:
  0     the terminal window was closed
  1..4  the terminal could not be created (1 no memory, 2 no window system,
        3 the port could not be opened or set up, 4 other)
  64    wrong command line

Examples:
  tavixterm --port /dev/ttyUSB0 --baud 115200
  tavixterm --port COM2 --baud 9600 --parity even --data 7 --echo --download-dir ~/incoming

COMn is the library's port n: /dev/ttyS(n-1), or the device set by TAVIX_COMn or the ports
file (see tavix32.h). A device path is opened as COM20.)";

}  // namespace

int main(int argc, char** argv) {
  CLI::App cli{"Opens a serial port in a terminal window."};
  std::string device;
  int baud = 9600;
  int parity = 0;
  int dataBits = 8;
  int stopBits = 1;
  bool echo = false;
  std::string uploadDir;
  std::string downloadDir;
  cli.add_option("--port", device, "COM1..COM20 or a device path (/dev/ttyUSB0)")->required();
  cli.add_option("--baud", baud, "line rate")
      ->check(CLI::IsMember({300, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200}));
  cli.add_option("--parity", parity, "none, odd or even")
      ->transform(CLI::CheckedTransformer(
          std::map<std::string, int>{{"none", 0}, {"odd", 1}, {"even", 2}}, CLI::ignore_case));
  cli.add_option("--data", dataBits, "data bits, 7 or 8")->check(CLI::IsMember({7, 8}));
  cli.add_option("--stop", stopBits, "stop bits, 1 or 2")->check(CLI::IsMember({1, 2}));
  cli.add_flag("--echo", echo, "show typed characters on the screen");
  cli.add_option("--upload-dir", uploadDir, "folder the upload dialogs start in");
  cli.add_option("--download-dir", downloadDir,
                 "folder of the download dialogs and of automatic Zmodem downloads")
      ->check(CLI::ExistingDirectory);
  cli.footer(kFooter);
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = cli.exit(error);
    return status == 0 ? 0 : kExitUsage;
  }
  for (const std::string* folder : {&uploadDir, &downloadDir}) {
    if (folder->size() > 255) {
      std::fprintf(stderr, "tavixterm: folder names are limited to 255 characters\n");
      return kExitUsage;
    }
  }

  int port = kDevicePathPort;
  if (const auto index = tavix::cli::ComPortIndex(device)) {
    port = *index;
  } else {
    ::setenv(("TAVIX_COM" + std::to_string(kDevicePathPort + 1)).c_str(), device.c_str(), 1);
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName("tavixterm");
  const int created =
      CreateTvxTermEx(port, nullptr, 0x07, echo ? 1 : 0, baud, parity, dataBits, stopBits);
  if (created != TAVIX_TERM_CREATED) {
    DisplayTermError(created);
    return created;
  }
  SetTermOptions(port, -1, uploadDir.empty() ? nullptr : uploadDir.c_str(),
                 downloadDir.empty() ? nullptr : downloadDir.c_str());
  return QApplication::exec();
}
