// tavix: send and receive files over a serial port with the tavix32 library, from the command
// line and without a display.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "progress_line.h"
#include "tavix32.h"
#include "transfer_request.h"
#include "transfer_runner.h"

namespace {

using tavix::cli::Direction;
using tavix::cli::TransferRequest;

constexpr std::uintptr_t kOwnerTag = 0x74617678;  // "tavx"
// The port a device path given on the command line is opened as.
constexpr int kDevicePathPort = TAVIX_PORT_COUNT - 1;

constexpr int kExitPortOpenBase = 20;
constexpr int kExitLineRefused = 30;
constexpr int kExitUsage = 64;

constexpr const char* kExitCodes = R"(Exit status:
  0       the transfer completed
  1..12   the library's transfer result (Xmodem, Ymodem, ASCII):
          1 file cannot be opened, 2 receiver cancelled, 3 sender cancelled, 4 time out,
          5 lost carrier, 6 error writing the file, 7 too many errors,
          12 no file name for a non-batch receive
  1..7    the library's Zmodem result (see the messages)
  21..27  the port could not be opened: 20 + the library's port result
          (21 no such device, 24 invalid port, 26 in use by another program, 27 other)
  30      the line settings were refused
  64      wrong command line

Examples:
  tavix send --port /dev/ttyUSB0 --protocol zmodem report.pdf data.csv
  tavix receive --port COM1 --protocol ymodem --dir incoming
  tavix receive --port COM2 --protocol xmodem-1k --baud 9600 firmware.bin

COMn is the library's port n: /dev/ttyS(n-1), or the device set by TAVIX_COMn or the
ports file (see tavix32.h).)";

std::string ProtocolList() {
  std::string list;
  for (std::string_view name : tavix::cli::ProtocolNames())
    list += (list.empty() ? "" : ", ") + std::string(name);
  return list;
}

// Opens and configures the requested port; returns its index or a negative exit status.
int OpenPort(const TransferRequest& request) {
  int port = kDevicePathPort;
  if (const auto index = tavix::cli::ComPortIndex(request.port)) {
    port = *index;
  } else {
    ::setenv(("TAVIX_COM" + std::to_string(kDevicePathPort + 1)).c_str(), request.port.c_str(), 1);
  }
  if (const int opened = SetPort(port, kOwnerTag); opened != TAVIX_PORT_OPENED) {
    DisplayPortError(opened);
    std::fprintf(stderr, "tavix: cannot open %s\n", request.port.c_str());
    return -(kExitPortOpenBase + opened);
  }
  SetFlowControl(port, 0, 0, 0);
  if (InitPort(port, request.baud, 0, 8, 1) != 0) {
    std::fprintf(stderr, "tavix: %s refuses %d bit/s, 8 data bits, no parity, 1 stop bit\n",
                 request.port.c_str(), request.baud);
    ResetPort(port, kOwnerTag);
    return -kExitLineRefused;
  }
  return port;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Sends or receives files over a serial port (ASCII, Xmodem, Ymodem, Zmodem)."};
  app.footer(kExitCodes);
  app.require_subcommand(1);
  TransferRequest request;
  std::string protocolName = "zmodem";
  bool ignoreCarrier = false;
  bool fullPaths = false;
  bool noResume = false;

  auto addCommon = [&](CLI::App* command) {
    command->add_option("--port", request.port, "COM1..COM20 or a device path (/dev/ttyUSB0)")
        ->required();
    command->add_option("--protocol", protocolName, "One of: " + ProtocolList())
        ->capture_default_str();
    command
        ->add_option("--baud", request.baud,
                     "110, 300, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200")
        ->capture_default_str();
    command->add_flag("--quiet,-q", request.quiet, "No progress line and no closing message");
    command->add_flag("--ignore-carrier", ignoreCarrier,
                      "Go on when carrier detect is low (adapters without the line)");
  };
  CLI::App* send = app.add_subcommand("send", "Send FILES");
  addCommon(send);
  send->add_flag("--full-paths", fullPaths, "Zmodem: send names with their folders");
  send->add_option("files", request.files, "Files to send (one for non-batch protocols)")
      ->required()
      ->check(CLI::ExistingFile);
  CLI::App* receive = app.add_subcommand("receive", "Receive files into --dir");
  addCommon(receive);
  receive->add_option("--dir", request.directory, "Download folder (created when missing)")
      ->capture_default_str();
  receive->add_flag("--no-resume", noResume, "Zmodem: never append to a partial file");
  receive->add_option("files", request.files,
                      "Name of the received file (non-batch protocols only)");
  request.directory = ".";

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? 0 : kExitUsage;
  }
  request.direction = receive->parsed() ? Direction::kReceive : Direction::kSend;
  const auto protocol = tavix::cli::ProtocolNumber(protocolName);
  if (!protocol) {
    std::fprintf(stderr, "tavix: unknown protocol \"%s\"; use one of: %s\n", protocolName.c_str(),
                 ProtocolList().c_str());
    return kExitUsage;
  }
  request.protocol = *protocol;
  const bool batch = tavix::cli::IsBatchProtocol(request.protocol);
  if (request.direction == Direction::kSend && !batch && request.files.size() != 1) {
    std::fprintf(stderr, "tavix: %s sends exactly one file\n", protocolName.c_str());
    return kExitUsage;
  }
  if (request.direction == Direction::kReceive &&
      (batch ? !request.files.empty() : request.files.size() != 1)) {
    std::fprintf(stderr,
                 batch ? "tavix: %s takes the file names from the sender; give none\n"
                       : "tavix: %s needs the name of the file to receive\n",
                 protocolName.c_str());
    return kExitUsage;
  }
  if (request.direction == Direction::kReceive && MakeDir(request.directory.c_str()) != 0) {
    std::fprintf(stderr, "tavix: cannot create the folder %s\n", request.directory.c_str());
    return kExitUsage;
  }

  const int port = OpenPort(request);
  if (port < 0) return -port;
  SetFileXferOptions(port, 1, noResume ? 0 : 1, fullPaths ? 1 : 0, ignoreCarrier ? 1 : 0);
  tavix::cli::ProgressLine progress(stderr);
  if (!request.quiet && ::isatty(STDERR_FILENO))
    SetTransferProgressCallback(port, &tavix::cli::ProgressLine::Callback, &progress);

  const int result = tavix::cli::RunTransfer(port, request);
  progress.Finish();
  ResetPort(port, kOwnerTag);
  if (result != 0 && !request.quiet)
    std::fprintf(stderr, "tavix: %s (result %d)\n",
                 std::string(tavix::cli::TransferResultText(request, result)).c_str(), result);
  return result;
}
