#pragma once

// A bulletin-board file listing in ANSI colour, as a peer sends it, with the text a terminal
// shows of it (and captures): everything but the escape sequences.

#include <cstddef>
#include <string>

namespace tavix::testing {

struct AnsiListing {
  std::string wire;
  std::string shown;
  std::string lastLine;  // the shown text of the last line, without its CR LF
};

inline AnsiListing MakeAnsiListing(std::size_t wireBytes) {
  AnsiListing listing;
  for (int line = 0; listing.wire.size() < wireBytes; ++line) {
    const std::string number = std::to_string(100000 + line);
    const std::string file = "FILE" + std::to_string(line % 1000) + ".ZIP";
    const std::string notes = "  123456  Release notes and sources of the week";
    listing.wire += "\x1b[1;3" + std::to_string(1 + line % 7) + "m" + number + "\x1b[0m  \x1b[36m" +
                    file + "\x1b[0m" + notes + "\r\n";
    listing.lastLine = number + "  " + file + notes;
    listing.shown += listing.lastLine + "\r\n";
  }
  return listing;
}

}  // namespace tavix::testing
