// The library's Zmodem and Ymodem against lrzsz, measured in the same run over the same kind of
// line: two pseudo-terminals joined by the line simulator's relay, a fresh pair per transfer.
// The side under test (the library through its exports, or an lrzsz program) sits at end A, the
// lrzsz peer both are measured against at end B. Also Zmodem over a 115 200 bit/s line against
// the line's payload rate, and the memory of a 200 MB receive against a 1 MB one.
//
// lrzsz flushes its terminal as it exits, which on a pseudo-terminal discards what it wrote
// last (the "OO" after Zmodem's ZFIN, rb's ACK of the end of a Ymodem batch); its partner then
// waits out its time-outs (rz 30 s). A transfer therefore counts as done when the one whose
// finish is certain is done: the sender for Zmodem (after the ZFIN exchange), rb for Ymodem
// (after the end-of-batch header). A partner still waiting then is stopped, and every received
// file is compared with the sent one. Beside the rates, each side's CPU time per transfer is
// reported: the library's thread (the relay runs on a thread of its own) and the lrzsz program.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "line_simulator.h"
#include "tavix32.h"

extern char** environ;

// Live and peak bytes of the process's heap blocks from operator new, so the memory benchmark
// can report what a receive allocates beside its peak resident set.
namespace {
std::atomic<std::int64_t> gHeapLive{0};
std::atomic<std::int64_t> gHeapPeak{0};

void CountHeap(std::int64_t change) {
  const std::int64_t live = gHeapLive.fetch_add(change, std::memory_order_relaxed) + change;
  std::int64_t peak = gHeapPeak.load(std::memory_order_relaxed);
  while (live > peak && !gHeapPeak.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
  }
}

// Not inlined, so the compiler never pairs the free() with an operator new at a call site.
__attribute__((noinline)) void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  CountHeap(static_cast<std::int64_t>(::malloc_usable_size(block)));
  return block;
}

__attribute__((noinline)) void Release(void* block) noexcept {
  if (block == nullptr) return;
  CountHeap(-static_cast<std::int64_t>(::malloc_usable_size(block)));
  std::free(block);
}
}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* block) noexcept {
  Release(block);
}
void operator delete[](void* block) noexcept {
  Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
  Release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  Release(block);
}

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tavix::linesim::LineSettings;
using tavix::linesim::LineSimulator;

constexpr int kPort = 0;
constexpr std::uintptr_t kOwner = 0xBE7C;
constexpr int32_t kProtocolYmodem = 4;
constexpr std::size_t kMiB = 1 << 20;

struct Folder {
  Folder() : path(fs::temp_directory_path() / ("tavix-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(path / "out");
    fs::create_directories(path / "in");
  }
  ~Folder() { fs::remove_all(path); }
  // Empties in/ for the next transfer.
  void ClearReceived() const {
    fs::remove_all(path / "in");
    fs::create_directories(path / "in");
  }
  fs::path path;
};

// A file of pseudo-random bytes (every control character included), written in blocks so a
// large file costs the benchmark process no memory.
void MakeFile(const fs::path& file, std::size_t size) {
  std::mt19937 random(7);
  std::vector<char> block(kMiB);
  std::ofstream out(file, std::ios::binary);
  for (std::size_t left = size; left > 0;) {
    const std::size_t count = std::min(left, block.size());
    for (std::size_t i = 0; i < count; ++i) block[i] = static_cast<char>(random());
    out.write(block.data(), static_cast<std::streamsize>(count));
    left -= count;
  }
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  if (fs::file_size(a, error) != fs::file_size(b, error) || error) return false;
  std::ifstream left(a, std::ios::binary), right(b, std::ios::binary);
  std::vector<char> x(kMiB), y(kMiB);
  while (left && right) {
    left.read(x.data(), static_cast<std::streamsize>(x.size()));
    right.read(y.data(), static_cast<std::streamsize>(y.size()));
    if (left.gcount() != right.gcount() ||
        !std::equal(x.begin(), x.begin() + left.gcount(), y.begin()))
      return false;
  }
  return true;
}

double UsedSeconds(const rusage& usage) {
  auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double ThreadCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_THREAD, &usage);
  return UsedSeconds(usage);
}

// An lrzsz program with standard input and output on a line device, standard error to a log;
// a watcher thread notes the moment it exits.
class Peer {
 public:
  Peer(const std::vector<std::string>& words, const fs::path& folder, const std::string& device) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, device.c_str(), O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, device.c_str(), O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, (folder / "peer.log").c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (pid_ > 0) watcher_ = std::thread([this] { Watch(); });
  }
  ~Peer() { Stop(); }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  bool Started() const { return pid_ > 0; }

  // The moment the program exited, waiting up to `limit` for it; none when it is still running.
  std::optional<Clock::time_point> ExitTime(std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!exited_.load() && Clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!exited_.load()) return std::nullopt;
    return exitTime_;
  }

  // User and system time the program used; known once it has exited (after ExitTime or Stop).
  double CpuSeconds() const { return exited_.load() ? cpuSeconds_ : 0; }

  // Ends the program if it still runs (a partner waiting for a word flushed away).
  void Stop() {
    if (pid_ > 0 && !exited_.load()) ::kill(pid_, SIGTERM);
    if (watcher_.joinable()) watcher_.join();
  }

 private:
  void Watch() {
    int status = 0;
    rusage usage{};
    ::wait4(pid_, &status, 0, &usage);
    cpuSeconds_ = UsedSeconds(usage);
    exitTime_ = Clock::now();
    exited_.store(true);
  }

  pid_t pid_ = -1;
  std::thread watcher_;
  std::atomic<bool> exited_{false};
  Clock::time_point exitTime_;
  double cpuSeconds_ = 0;
};

// The library's port on a line device, opened and closed through its exports.
class LibraryPort {
 public:
  explicit LibraryPort(const std::string& device) {
    ::setenv(("TAVIX_COM" + std::to_string(kPort + 1)).c_str(), device.c_str(), 1);
    open_ = SetPort(kPort, kOwner) == TAVIX_PORT_OPENED && InitPort(kPort, 115200, 0, 8, 1) == 0;
  }
  ~LibraryPort() { ResetPort(kPort, kOwner); }
  LibraryPort(const LibraryPort&) = delete;
  LibraryPort& operator=(const LibraryPort&) = delete;
  bool Open() const { return open_; }

 private:
  bool open_ = false;
};

double Seconds(Clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// Runs `iterate` (which returns the seconds of one transfer, or none on failure) as the
// benchmark's manually timed iterations and reports the byte rate of `bytes` per iteration.
template <typename Iterate>
void Measure(benchmark::State& state, std::size_t bytes, Iterate iterate) {
  for (auto _ : state) {
    const std::optional<double> seconds = iterate();
    if (!seconds) {
      state.SkipWithError("transfer failed or its file differs");
      return;
    }
    state.SetIterationTime(*seconds);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// What one transfer took: wall time and the CPU time of the side under test.
struct Cost {
  double seconds = 0;
  double cpuSeconds = 0;
};

// Each iteration runs one transfer of the library (`transfer(true)`, the iteration's time) and
// one of lrzsz (`transfer(false)`), back to back and taking turns at going first, so a busy
// machine weighs on both alike. The counters are both rates in MB/s and their ratio (above 1:
// the library is faster), and both sides' CPU milliseconds per transfer.
template <typename Transfer>
void Compare(benchmark::State& state, std::size_t bytes, Transfer transfer) {
  Cost ours;
  Cost theirs;
  bool oursFirst = true;
  for (auto _ : state) {
    std::optional<Cost> oursCost;
    std::optional<Cost> theirCost;
    if (oursFirst) oursCost = transfer(true);
    theirCost = transfer(false);
    if (!oursFirst) oursCost = transfer(true);
    oursFirst = !oursFirst;
    if (!oursCost || !theirCost) {
      state.SkipWithError("transfer failed or its file differs");
      return;
    }
    ours.seconds += oursCost->seconds;
    ours.cpuSeconds += oursCost->cpuSeconds;
    theirs.seconds += theirCost->seconds;
    theirs.cpuSeconds += theirCost->cpuSeconds;
    state.SetIterationTime(oursCost->seconds);
  }
  const double megabytes = static_cast<double>(state.iterations() * bytes) / 1e6;
  const double iterations = static_cast<double>(state.iterations());
  state.counters["oursMBps"] = megabytes / ours.seconds;
  state.counters["lrzszMBps"] = megabytes / theirs.seconds;
  state.counters["ratio"] = theirs.seconds / ours.seconds;
  state.counters["oursCpuMs"] = 1000 * ours.cpuSeconds / iterations;
  state.counters["lrzszCpuMs"] = 1000 * theirs.cpuSeconds / iterations;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// Per transfer compared with lrzsz: large enough that the per-block rate, and not how soon the
// receiver's start request is seen, decides a Ymodem transfer.
constexpr std::size_t kCompareBytes = 8 * kMiB;
constexpr std::size_t kPacedBytes = 96 * 1024;
constexpr double kPacedPayloadRate = 115200.0 / 10;  // 8N1: ten bit times per byte
constexpr auto kLimit = std::chrono::seconds(120);

// Zmodem sending: the library or sz at end A, rz at end B; done when the sender is done.
void BM_ZmodemSend(benchmark::State& state) {
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", kCompareBytes);
  Compare(state, kCompareBytes, [&](bool ours) -> std::optional<Cost> {
    folder.ClearReceived();
    LineSimulator line{LineSettings{}};
    Peer rz({"rz", "-q", "-y"}, folder.path / "in", line.endB());
    std::optional<Cost> cost;
    if (ours) {
      LibraryPort port(line.endA());
      const auto start = Clock::now();
      const double cpuStart = ThreadCpuSeconds();
      if (port.Open() &&
          SendZmodemEx(kPort, nullptr, (folder.path / "out").c_str(), "f.bin", 0) == 0) {
        SendZmodemEx(kPort, nullptr, nullptr, nullptr, -1);
        cost = Cost{Seconds(Clock::now() - start), ThreadCpuSeconds() - cpuStart};
      }
    } else {
      const auto start = Clock::now();
      Peer sz({"sz", "-q", "f.bin"}, folder.path / "out", line.endA());
      if (const auto end = sz.ExitTime(kLimit)) cost = Cost{Seconds(*end - start), sz.CpuSeconds()};
    }
    rz.ExitTime(std::chrono::seconds(ours ? 10 : 0));
    rz.Stop();
    if (!SameFile(folder.path / "in" / "f.bin", folder.path / "out" / "f.bin")) return {};
    return cost;
  });
}

// Zmodem receiving from sz at end B: the library or rz at end A; done when sz is done.
void BM_ZmodemReceive(benchmark::State& state) {
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", kCompareBytes);
  Compare(state, kCompareBytes, [&](bool ours) -> std::optional<Cost> {
    folder.ClearReceived();
    LineSimulator line{LineSettings{}};
    std::optional<Peer> rz;
    if (!ours)
      rz.emplace(std::vector<std::string>{"rz", "-q", "-y"}, folder.path / "in", line.endA());
    std::optional<LibraryPort> port;
    if (ours) port.emplace(line.endA());
    const auto start = Clock::now();
    Peer sz({"sz", "-q", "f.bin"}, folder.path / "out", line.endB());
    const double cpuStart = ThreadCpuSeconds();
    if (ours && (!port->Open() || GetZmodemEx(kPort, nullptr, (folder.path / "in").c_str()) != 0))
      return {};
    const double oursCpu = ThreadCpuSeconds() - cpuStart;
    const auto end = sz.ExitTime(kLimit);
    if (rz) rz->Stop();
    if (!end || !SameFile(folder.path / "in" / "f.bin", folder.path / "out" / "f.bin")) return {};
    return Cost{Seconds(*end - start), rz ? rz->CpuSeconds() : oursCpu};
  });
}

// Ymodem sending: the library or sb at end A, rb at end B; done when rb has the end of the batch.
void BM_YmodemSend(benchmark::State& state) {
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", kCompareBytes);
  Compare(state, kCompareBytes, [&](bool ours) -> std::optional<Cost> {
    folder.ClearReceived();
    LineSimulator line{LineSettings{}};
    Peer rb({"rb", "-q"}, folder.path / "in", line.endB());
    const auto start = Clock::now();
    const double cpuStart = ThreadCpuSeconds();
    std::optional<Peer> sb;
    if (ours) {
      LibraryPort port(line.endA());
      if (!port.Open() ||
          UploadEx(kPort, nullptr, kProtocolYmodem, (folder.path / "out").c_str(), "f.bin", 0) != 0)
        return {};
      UploadEx(kPort, nullptr, kProtocolYmodem, nullptr, nullptr, -1);
    } else {
      sb.emplace(std::vector<std::string>{"sb", "-q", "f.bin"}, folder.path / "out", line.endA());
    }
    const double oursCpu = ThreadCpuSeconds() - cpuStart;
    const auto end = rb.ExitTime(kLimit);
    if (sb) sb->Stop();
    if (!end || !SameFile(folder.path / "in" / "f.bin", folder.path / "out" / "f.bin")) return {};
    return Cost{Seconds(*end - start), sb ? sb->CpuSeconds() : oursCpu};
  });
}

// The library's Zmodem over a 115 200 bit/s line, sending to rz or receiving from sz; the
// counter is the share of the line's payload rate (11 520 bytes/s) the file went at.
void BM_ZmodemPaced(benchmark::State& state, bool sending) {
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", kPacedBytes);
  LineSettings settings;
  settings.bitsPerSecond = 115200;
  double seconds = 0;
  Measure(state, kPacedBytes, [&]() -> std::optional<double> {
    folder.ClearReceived();
    LineSimulator line{settings};
    LibraryPort port(line.endA());
    if (!port.Open()) return {};
    std::optional<double> taken;
    if (sending) {
      Peer rz({"rz", "-q", "-y"}, folder.path / "in", line.endB());
      const auto start = Clock::now();
      if (SendZmodemEx(kPort, nullptr, (folder.path / "out").c_str(), "f.bin", 0) != 0) return {};
      SendZmodemEx(kPort, nullptr, nullptr, nullptr, -1);
      taken = Seconds(Clock::now() - start);
      rz.ExitTime(std::chrono::seconds(10));
    } else {
      const auto start = Clock::now();
      Peer sz({"sz", "-q", "f.bin"}, folder.path / "out", line.endB());
      if (GetZmodemEx(kPort, nullptr, (folder.path / "in").c_str()) != 0) return {};
      if (const auto end = sz.ExitTime(kLimit)) taken = Seconds(*end - start);
    }
    if (!SameFile(folder.path / "in" / "f.bin", folder.path / "out" / "f.bin")) return {};
    seconds += taken.value_or(0);
    return taken;
  });
  state.counters["payloadPercent"] =
      100.0 * static_cast<double>(state.iterations() * kPacedBytes) / seconds / kPacedPayloadRate;
}

// Receives `range(0)` MiB from sz with the library in a child process of its own, whose peak
// resident set and peak heap growth are the counters: they must not grow with the file.
void BM_ZmodemReceiveMemory(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0)) * kMiB;
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", size);
  for (auto _ : state) {
    folder.ClearReceived();
    LineSimulator line{LineSettings{}};
    Peer sz({"sz", "-q", "f.bin"}, folder.path / "out", line.endB());
    int report[2];
    if (::pipe(report) != 0) {
      state.SkipWithError("no pipe");
      return;
    }
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(report[0]);
      LibraryPort port(line.endA());
      const std::int64_t before = gHeapLive.load();
      gHeapPeak.store(before);
      const int result =
          port.Open() ? GetZmodemEx(kPort, nullptr, (folder.path / "in").c_str()) : -1;
      const std::int64_t grown[2] = {gHeapPeak.load() - before, result};
      if (::write(report[1], grown, sizeof grown) != sizeof grown) ::_exit(2);
      ::_exit(0);
    }
    ::close(report[1]);
    std::int64_t grown[2] = {0, -1};
    const bool reported = ::read(report[0], grown, sizeof grown) == sizeof grown;
    ::close(report[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    if (!reported || grown[1] != 0 ||
        !SameFile(folder.path / "in" / "f.bin", folder.path / "out" / "f.bin")) {
      state.SkipWithError("receive failed or its file differs");
      return;
    }
    state.counters["maxRssKiB"] = static_cast<double>(usage.ru_maxrss);
    state.counters["peakHeapKiB"] = static_cast<double>(grown[0]) / 1024.0;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

}  // namespace

BENCHMARK(BM_ZmodemSend)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_ZmodemReceive)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_YmodemSend)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_ZmodemPaced, send_115200, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_ZmodemPaced, receive_115200, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_ZmodemReceiveMemory)
    ->Arg(1)
    ->Arg(200)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
