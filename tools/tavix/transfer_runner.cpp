#include "transfer_runner.h"

#include <array>
#include <filesystem>
#include <string>

#include "tavix32.h"

namespace tavix::cli {
namespace {

constexpr int32_t kPhaseBegin = 0;
constexpr int32_t kPhaseNextFile = 1;
constexpr int32_t kPhaseFinish = -1;

struct SplitPath {
  std::string directory;
  std::string name;
};

SplitPath Split(const std::string& file) {
  const std::filesystem::path path(file);
  const std::string directory = path.parent_path().string();
  return {directory.empty() ? "." : directory, path.filename().string()};
}

// Sends every file through a phased export (UploadEx or SendZmodemEx): the first file begins
// the run, the others follow, and the run is finished even when a file failed. A failed finish
// (the end of a batch) is the run's result when every file went through.
template <typename SendPhase>
int SendFiles(const std::vector<std::string>& files, SendPhase send) {
  int result = 0;
  for (std::size_t i = 0; i < files.size() && result == 0; ++i) {
    const SplitPath path = Split(files[i]);
    result = send(path.directory.c_str(), path.name.c_str(), i == 0 ? kPhaseBegin : kPhaseNextFile);
  }
  const int finished = send(nullptr, nullptr, kPhaseFinish);
  return result != 0 ? result : finished;
}

constexpr std::array<std::string_view, 13> kTransferResults = {
    "completed",
    "a file cannot be opened",
    "the receiver cancelled",
    "the sender cancelled",
    "time out: no answer from the other side",
    "lost carrier",
    "error writing to the received file",
    "too many errors",
    "unknown protocol",
    "out of memory",
    "unknown protocol",
    "out of memory",
    "no file name given for a protocol that does not carry one"};

constexpr std::array<std::string_view, 8> kZmodemSendResults = {
    "completed",
    "a file cannot be opened",
    "the receiver did not answer, skipped or cancelled",
    "cancelled",
    "time out",
    "lost carrier",
    "out of memory",
    "out of memory"};

constexpr std::array<std::string_view, 8> kZmodemReceiveResults = {
    "completed",
    "a received file cannot be created",
    "cancelled",
    "the sender cancelled, or too many errors",
    "no answer from the sender",
    "lost carrier",
    "error writing to the file",
    "out of memory"};

template <std::size_t N>
std::string_view Lookup(const std::array<std::string_view, N>& texts, int result) {
  return result >= 0 && static_cast<std::size_t>(result) < N
             ? texts[static_cast<std::size_t>(result)]
             : std::string_view("unknown result");
}

}  // namespace

int RunTransfer(int port, const TransferRequest& request) {
  if (request.direction == Direction::kSend) {
    if (request.protocol == kProtocolZmodem)
      return SendFiles(request.files,
                       [port](const char* directory, const char* name, int32_t phase) {
                         return SendZmodemEx(port, nullptr, directory, name, phase);
                       });
    return SendFiles(request.files, [&](const char* directory, const char* name, int32_t phase) {
      return UploadEx(port, nullptr, request.protocol, directory, name, phase);
    });
  }
  const std::string& directory = request.directory;
  if (request.protocol == kProtocolZmodem) return GetZmodemEx(port, nullptr, directory.c_str());
  const char* name = request.files.empty() ? nullptr : request.files.front().c_str();
  return DownloadEx(port, nullptr, request.protocol, directory.c_str(), name);
}

std::string_view TransferResultText(const TransferRequest& request, int result) {
  if (request.protocol != kProtocolZmodem) return Lookup(kTransferResults, result);
  return request.direction == Direction::kSend ? Lookup(kZmodemSendResults, result)
                                               : Lookup(kZmodemReceiveResults, result);
}

}  // namespace tavix::cli
