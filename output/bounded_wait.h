#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

// Every printer route waits within limits: a label that cannot be handed over
// in time counts as not printed, instead of holding the run for ever.
namespace paltrix::output {

// The limits of one printer route, settable in the settings INI file
// ("ConnectTimeout", "WriteTimeout", section "Printer") and on the command
// line.
struct PrinterTimeouts {
  // Reaching the printer: a TCP connection, the spooler's connection and its
  // answer when the queue is opened or listed, a FIFO without a reader or a
  // device that is not ready to be opened.
  std::chrono::milliseconds connect = std::chrono::seconds(10);
  // Handing the document over: the longest time the printer, the spooler or
  // the device may take no byte and give no answer.
  std::chrono::milliseconds write = std::chrono::seconds(30);
};

// Told about once a second while a route waits: what it waits for, for how
// long so far and the limit. The command line shows it on a terminal.
using WaitProgress = std::function<void(std::string_view what, std::chrono::seconds waited,
                                        std::chrono::seconds limit)>;

// One wait with a limit, restarted whenever the peer makes progress.
class BoundedWait {
 public:
  // `progress` may be null; it must outlive the wait.
  BoundedWait(std::string what, std::chrono::milliseconds limit, const WaitProgress* progress);

  // The peer made progress: the limit counts from now.
  void Restart();
  // True once the limit has passed since the last restart; tells the
  // progress callback when another whole second has passed.
  bool Over();
  // Waits with poll() until fd is ready for `events` or the limit passes
  // (interrupted polls are resumed). 0 when ready, ETIMEDOUT when the limit
  // passed, else the errno of poll.
  int UntilReady(int fd, short events);
  // Sleeps a short while before a retry, never past the limit.
  void Pause();

  const WaitProgress* progress() const { return progress_; }

 private:
  std::chrono::milliseconds Left() const;

  std::string what_;
  std::chrono::milliseconds limit_;
  const WaitProgress* progress_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::seconds told_{0};
};

}  // namespace paltrix::output
