#include "tests/output/test_cupsd.h"

#include <arpa/inet.h>
#include <cups/cups.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"

namespace paltrix::output::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::optional<fs::path> FindProgram(const std::string& name) {
  std::vector<fs::path> folders;
  if (const char* path = std::getenv("PATH")) {
    std::stringstream entries(path);
    for (std::string entry; std::getline(entries, entry, ':');) folders.emplace_back(entry);
  }
  folders.emplace_back("/usr/sbin");
  folders.emplace_back("/usr/bin");
  for (const fs::path& folder : folders) {
    const fs::path candidate = folder / name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

std::uint16_t FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) < 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
    if (fd >= 0) ::close(fd);
    throw std::runtime_error("no free loopback port");
  }
  ::close(fd);
  return ntohs(address.sin_port);
}

bool Answers(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  const bool connected =
      fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  if (fd >= 0) ::close(fd);
  return connected;
}

// libcups reads CUPS_SERVER once per thread and keeps the answer; this makes
// it read the variable again.
void ForgetCachedServer() {
  cupsSetServer(nullptr);
}

}  // namespace

std::optional<fs::path> TestCupsd::FindScheduler() {
  return FindProgram("cupsd");
}

TestCupsd::TestCupsd() {
  const std::optional<fs::path> scheduler = FindScheduler();
  if (!scheduler) throw std::runtime_error("cupsd is not installed");
  // The backends run as the lp user and read the spooled files from here.
  fs::permissions(folder_.path(), fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
  port_ = FreeLoopbackPort();
  WriteConfiguration();
  pid_ = paltrix::testing::SpawnProgram(
      {scheduler->string(), "-f", "-c", (folder_ / "cupsd.conf").string(), "-s",
       (folder_ / "cups-files.conf").string()},
      {.out = folder_ / "cupsd.out", .err = {}, .append = true});
  try {
    WaitUntilAnswering();
  } catch (...) {
    Stop();
    throw;
  }
  SetEnvironment("CUPS_SERVER", server());
  SetEnvironment("CUPS_SERVERROOT", (folder_ / "root").string());
  SetEnvironment("HOME", folder_.path().string());
  SetEnvironment("LPDEST", std::nullopt);
  SetEnvironment("PRINTER", std::nullopt);
  ForgetCachedServer();
}

TestCupsd::~TestCupsd() {
  Stop();
  for (auto saved = savedEnvironment_.rbegin(); saved != savedEnvironment_.rend(); ++saved) {
    if (saved->value) {
      ::setenv(saved->name.c_str(), saved->value->c_str(), 1);
    } else {
      ::unsetenv(saved->name.c_str());
    }
  }
  ForgetCachedServer();
}

std::string TestCupsd::server() const {
  return "127.0.0.1:" + std::to_string(port_);
}

void TestCupsd::WriteConfiguration() {
  for (const char* sub : {"root", "state", "cache", "spool", "tmp", "log"}) {
    fs::create_directory(folder_ / sub);
  }
  const fs::path& dir = folder_.path();
  std::ofstream files(folder_ / "cups-files.conf");
  files << "ServerRoot " << (dir / "root").string() << "\n"
        << "StateDir " << (dir / "state").string() << "\n"
        << "CacheDir " << (dir / "cache").string() << "\n"
        << "RequestRoot " << (dir / "spool").string() << "\n"
        << "TempDir " << (dir / "tmp").string() << "\n"
        << "ErrorLog " << (dir / "log" / "error_log").string() << "\n"
        << "AccessLog " << (dir / "log" / "access_log").string() << "\n"
        << "PageLog " << (dir / "log" / "page_log").string() << "\n"
        << "Printcap " << (dir / "printcap").string() << "\n"
        << "FileDevice No\n"
        << "SystemGroup root\n"
        << "User lp\nGroup lp\n";
  std::ofstream daemon(folder_ / "cupsd.conf");
  daemon << "Listen 127.0.0.1:" << port_ << "\n"
         << "Browsing No\n"
         << "WebInterface No\n"
         << "LogLevel info\n"
         << "DefaultAuthType None\n"
         << "<Location />\n  Order allow,deny\n  Allow from 127.0.0.1\n</Location>\n"
         << "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
}

void TestCupsd::WaitUntilAnswering() {
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      throw std::runtime_error("cupsd exited at start:\n" + Log());
    }
    if (Answers(port_)) return;
    std::this_thread::sleep_for(50ms);
  }
  throw std::runtime_error("cupsd did not answer within 30 s:\n" + Log());
}

void TestCupsd::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (::waitpid(pid_, nullptr, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(20ms);
  }
  pid_ = -1;
}

std::string TestCupsd::Log() const {
  return paltrix::testing::ReadFileText(folder_ / "cupsd.out") +
         paltrix::testing::ReadFileText(folder_ / "log" / "error_log");
}

void TestCupsd::SetEnvironment(const char* name, const std::optional<std::string>& value) {
  const char* previous = std::getenv(name);
  savedEnvironment_.push_back(
      {name, previous ? std::optional<std::string>(previous) : std::nullopt});
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

void TestCupsd::Run(const std::string& program, std::vector<std::string> arguments) {
  const std::optional<fs::path> path = FindProgram(program);
  if (!path) throw std::runtime_error(program + " is not installed");
  arguments.insert(arguments.begin(), {"-h", server()});
  arguments.insert(arguments.begin(), path->string());
  const fs::path output = folder_ / (program + ".out");
  const pid_t pid =
      paltrix::testing::SpawnProgram(arguments, {.out = output, .err = {}, .append = true});
  if (paltrix::testing::WaitForExit(pid) != 0) {
    throw std::runtime_error(program + " failed:\n" + paltrix::testing::ReadFileText(output) +
                             Log());
  }
}

void TestCupsd::AddRawQueue(const std::string& name, const std::string& deviceUri) {
  Run("lpadmin", {"-p", name, "-E", "-v", deviceUri});
}

void TestCupsd::SetDefault(const std::string& name) {
  Run("lpadmin", {"-d", name});
}

}  // namespace paltrix::output::testing
