// tavix-line-sim: a simulated serial line between two pseudo-terminals, for trying transfers
// over a slow or noisy line without hardware.

#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "line_simulator.h"

namespace {

volatile sig_atomic_t stopRequested = 0;

void RequestStop(int) {
  stopRequested = 1;
}

// Makes `link` a symbolic link to `device`, replacing an earlier link of ours.
void LinkDevice(const std::string& link, const std::string& device) {
  if (link.empty()) return;
  std::error_code ignored;
  if (std::filesystem::is_symlink(link, ignored)) std::filesystem::remove(link, ignored);
  std::filesystem::create_symlink(device, link);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Joins two pseudo-terminals by a simulated serial line and prints their device paths.\n"
      "Runs until interrupted (Ctrl+C), then prints what the line did."};
  tavix::linesim::LineSettings settings;
  double latencyMs = 0.0;
  std::string linkA, linkB;
  app.add_option("--baud", settings.bitsPerSecond, "Bit rate, 300 to 115200 (8N1); 0 = unpaced")
      ->check(CLI::Range(0u, 115200u));
  app.add_option("--latency-ms", latencyMs, "One-way latency in milliseconds")
      ->check(CLI::Range(0.0, 60000.0));
  app.add_option("--corrupt", settings.corruptRate, "Share of bytes with one bit flipped (0..1)")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--drop", settings.dropRate, "Share of bytes lost (0..1)")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--duplicate", settings.duplicateRate, "Share of bytes sent twice (0..1)")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--seed", settings.seed, "Seed of the fault generator (same seed, same faults)");
  app.add_option("--link-a", linkA, "Also make this path a symbolic link to end A");
  app.add_option("--link-b", linkB, "Also make this path a symbolic link to end B");
  CLI11_PARSE(app, argc, argv);
  settings.latency = std::chrono::microseconds(static_cast<long long>(latencyMs * 1000.0));

  try {
    tavix::linesim::LineSimulator line(settings);
    LinkDevice(linkA, line.endA());
    LinkDevice(linkB, line.endB());
    std::cout << "A " << line.endA() << "\nB " << line.endB() << std::endl;

    struct sigaction action {};
    action.sa_handler = RequestStop;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    while (stopRequested == 0) ::pause();

    line.stop();
    std::cout << tavix::linesim::DescribeReport(line.report()) << std::flush;
    std::error_code ignored;
    if (!linkA.empty()) std::filesystem::remove(linkA, ignored);
    if (!linkB.empty()) std::filesystem::remove(linkB, ignored);
  } catch (const std::exception& error) {
    std::cerr << "tavix-line-sim: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
