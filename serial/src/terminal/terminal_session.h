#pragma once

// What one port's terminal keeps besides its windows.

#include <QPointer>
#include <string>

#include "terminal/capture_table.h"
#include "terminal/screen_model.h"

namespace tavix::terminal {

inline constexpr std::size_t kMaxDirectoryLength = 255;

struct LineSettings {
  int baud = 0;
  int parity = 0;
  int dataBits = 8;
  int stopBits = 1;
};

struct TerminalSession {
  TerminalSession(int portIndex, std::uint8_t attribute, bool echoOn)
      : port(portIndex), screen(attribute), capture(portIndex), echo(echoOn) {
    screen.SetCapture(&capture);
  }

  int port;
  ScreenModel screen;
  PortCapture capture;
  bool echo;
  bool portOpenedByCaller = true;
  LineSettings line;  // used when the terminal opens the port itself
  bool carrier = false;
  // A transfer owns the port: the display leaves received bytes to it.
  bool transferRunning = false;
  int defaultProtocol = -1;
  std::string uploadDirectory;
  std::string downloadDirectory;
  QPointer<QObject> caller;
};

}  // namespace tavix::terminal
