// Throughput of our Zmodem and Ymodem against lrzsz over the same pseudo-terminal pair,
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
// measured in the same run, and the memory a 200 MB Zmodem receive holds.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "fd_line.h"
#include "pty_peer.h"
#include "xymodem_sender.h"
#include "zmodem_receiver.h"
#include "zmodem_sender.h"

namespace {

namespace fs = std::filesystem;
using tavix::testing::PeerProcess;
using tavix::testing::PtyPair;

struct Folder {
  Folder() : path(fs::temp_directory_path() / ("tavix-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(path / "out");
    fs::create_directories(path / "in");
  }
  ~Folder() { fs::remove_all(path); }
  fs::path path;
};

void MakeFile(const fs::path& path, std::size_t size) {
  std::mt19937 random(7);
  std::vector<char> bytes(size);
  for (char& byte : bytes) byte = static_cast<char>(random());
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
}

constexpr std::size_t kFileSize = 4 << 20;

// A pty master is a terminal too, so an lrzsz pair runs over one pty: one on each side.
void RunPeers(const std::vector<std::string>& sender, const std::vector<std::string>& receiver,
              const Folder& folder) {
  PtyPair pty;
  PeerProcess receiving(pty, receiver, folder.path / "in");
  // The sender gets the master side as its standard input and output.
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pty.Master(), 0);
    ::dup2(pty.Master(), 1);
    int flags = ::fcntl(0, F_GETFL);
    ::fcntl(0, F_SETFL, flags & ~O_NONBLOCK);
    if (::chdir((folder.path / "out").c_str()) != 0) ::_exit(126);
    std::vector<char*> argv;
    for (const std::string& word : sender) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  receiving.Wait(120);
}

void BM_ZmodemSend_Ours(benchmark::State& state) {
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", kFileSize);
  for (auto _ : state) {
    fs::remove(folder.path / "in" / "f.bin");
    PtyPair pty;
    PeerProcess rz(pty, {"rz", "-q", "-y"}, folder.path / "in");
    tavix::FdLine line(pty.Master());
    tavix::SilentProgress progress;
    tavix::TransferSession session{line, progress};
    tavix::ZmodemSender sender(session);
    tavix::FileToSend file = tavix::OpenFileToSend((folder.path / "out" / "f.bin").string());
    if (sender.SendFile(file, "f.bin") != 0 || sender.EndBatch() != 0)
      state.SkipWithError("failed");
    rz.Wait(120);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

void BM_ZmodemSend_Sz(benchmark::State& state) {
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", kFileSize);
  for (auto _ : state) {
    fs::remove(folder.path / "in" / "f.bin");
    RunPeers({"sz", "-q", "f.bin"}, {"rz", "-q", "-y"}, folder);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

void BM_ZmodemReceive_Ours(benchmark::State& state) {
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", kFileSize);
  for (auto _ : state) {
    fs::remove(folder.path / "in" / "f.bin");
    PtyPair pty;
    PeerProcess sz(pty, {"sz", "-q", "f.bin"}, folder.path / "out");
    tavix::FdLine line(pty.Master());
    tavix::SilentProgress progress;
    tavix::TransferSession session{line, progress};
    if (tavix::ReceiveZmodem(session, {(folder.path / "in").string(), false, false}) != 0) {
      state.SkipWithError("failed");
    }
    sz.Wait(120);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

void BM_YmodemSend_Ours(benchmark::State& state) {
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", kFileSize / 4);
  for (auto _ : state) {
    fs::remove(folder.path / "in" / "f.bin");
    PtyPair pty;
    PeerProcess rb(pty, {"rb", "-q"}, folder.path / "in");
    tavix::FdLine line(pty.Master());
    tavix::SilentProgress progress;
    tavix::TransferSession session{line, progress};
    tavix::XymodemSender sender(
        session, *tavix::DescribeBlockProtocol(tavix::kProtocolYmodem),
        {std::chrono::seconds(60), std::chrono::seconds(2), std::chrono::milliseconds(100)});
    tavix::FileToSend file = tavix::OpenFileToSend((folder.path / "out" / "f.bin").string());
    if (sender.SendFile(file, "f.bin") != 0) state.SkipWithError("failed");
    sender.EndBatch();
    rb.Wait(5);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize / 4));
}

void BM_YmodemSend_Sb(benchmark::State& state) {
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", kFileSize / 4);
  for (auto _ : state) {
    fs::remove(folder.path / "in" / "f.bin");
    RunPeers({"sb", "-q", "f.bin"}, {"rb", "-q"}, folder);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize / 4));
}

// Receives `size` bytes with our Zmodem receiver; the counter is the process's peak RSS.
void BM_ZmodemReceiveMemory(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0)) << 20;
  Folder folder;
  MakeFile(folder.path / "out" / "f.bin", size);
  for (auto _ : state) {
    PtyPair pty;
    PeerProcess sz(pty, {"sz", "-q", "f.bin"}, folder.path / "out");
    tavix::FdLine line(pty.Master());
    tavix::SilentProgress progress;
    tavix::TransferSession session{line, progress};
    tavix::ReceiveZmodem(session, {(folder.path / "in").string(), false, false});
    sz.Wait(600);
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["maxRssKiB"] = static_cast<double>(usage.ru_maxrss);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

}  // namespace

BENCHMARK(BM_ZmodemSend_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ZmodemSend_Sz)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ZmodemReceive_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_YmodemSend_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_YmodemSend_Sb)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
// 1 MB first, then 200 MB: the peak must not grow with the file.
BENCHMARK(BM_ZmodemReceiveMemory)
    ->Arg(1)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
