// The C exports of the transfers: Upload/UploadEx/Download/DownloadEx (ASCII, Xmodem, Ymodem)
// and SendZmodem/SendZmodemEx/GetZmodem/GetZmodemEx.
#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ascii_transfer.h"
#include "block_protocol.h"
#include "port/port_access.h"
#include "port_line.h"
#include "port_progress.h"
#include "received_name.h"
#include "tavix32.h"
#include "ui/file_questions.h"
#include "ui/gui_presence.h"
#include "xymodem_receiver.h"
#include "xymodem_sender.h"
#include "zmodem_receiver.h"
#include "zmodem_sender.h"

namespace tavix {
namespace {

constexpr int kPortCount = 20;

// While a transfer runs: receive notification suspended, the caller's top-level window disabled;
// both restored (and the focus given back) at the end.
class TransferScope {
 public:
  TransferScope(int port, TavixWindow window) : port_(port), window_(window) {
    SuspendReceiveNotify(port_, 1);
    if (QWidget* top = TopLevel()) top->setEnabled(false);
  }
  ~TransferScope() {
    if (QWidget* top = TopLevel()) top->setEnabled(true);
    SuspendReceiveNotify(port_, 0);
    if (auto* widget = qobject_cast<QWidget*>(static_cast<QObject*>(window_))) widget->setFocus();
  }
  TransferScope(const TransferScope&) = delete;
  TransferScope& operator=(const TransferScope&) = delete;

 private:
  QWidget* TopLevel() const {
    if (!window_ || !CanShowWindows()) return nullptr;
    return qobject_cast<QWidget*>(static_cast<QObject*>(GetParentWindow(window_)));
  }
  int port_;
  TavixWindow window_;
};

// Everything one transfer on a port holds, from its start to its end (for the phased exports,
// from phase 0 to phase -1).
struct TransferContext {
  TransferContext(int port, TavixWindow window, const std::string& title, bool sending, bool batch)
      : scope(port, window),
        options(PortTransferOptions(port)),
        line(port, window),
        progress(port, window, title, sending, batch),
        session{line, progress, options.ignoreCarrier} {}

  TransferScope scope;
  TransferOptions options;
  PortLine line;
  PortProgress progress;
  TransferSession session;
  std::unique_ptr<XymodemSender> blockSender;
  std::unique_ptr<ZmodemSender> zmodemSender;
  BlockProtocol protocol;
};

std::array<std::unique_ptr<TransferContext>, kPortCount> gPhasedContexts;

bool ValidPort(int port) {
  return port >= 0 && port < kPortCount && IsPortOpen(port);
}

std::string SendTitle(int protocol) {
  if (protocol == kProtocolAscii) return "ASCII Send";
  return DescribeBlockProtocol(protocol)->batch ? "Ymodem Send" : "Xmodem Send";
}

std::string ReceiveTitle(int protocol) {
  if (protocol == kProtocolAscii) return "ASCII Receive";
  return DescribeBlockProtocol(protocol)->batch ? "Ymodem Receive" : "Xmodem Receive";
}

// The progress window's title, or none for a quiet ASCII transfer.
std::string WindowTitle(int port, int protocol, const std::string& title) {
  return protocol == kProtocolAscii && PortTransferOptions(port).asciiQuiet ? "" : title;
}

std::string PathOf(const char* directory, const std::string& name) {
  return directory && *directory ? JoinPath(directory, name) : name;
}

QWidget* DialogOwner(TavixWindow window) {
  return qobject_cast<QWidget*>(static_cast<QObject*>(window));
}

// The folder a batch download goes to; empty when the question was cancelled.
QString AskDownloadFolder(int port, TavixWindow window) {
  const QStringList folder = AskFileQuestion({FileQuestion::Kind::kFolder,
                                              DialogOwner(window),
                                              "Directory To Save To",
                                              DownloadFolder(port),
                                              {}});
  return folder.isEmpty() ? QString{} : folder.front();
}

const QString kUploadFilter = "Zipped Files (*.zip);;Text Files (*.txt *.doc);;All Files (*)";
const QString kAsciiFilter = "Text Files (*.txt);;All Files (*)";

// Sends one file of a block-protocol or ASCII upload; the block size returns to 1024 after it.
int UploadOne(TransferContext& context, const std::string& path, const std::string& name) {
  FileToSend file = OpenFileToSend(path);
  if (!file.fd.Valid()) {
    context.session.Fail(kTransferCannotOpenFile, TransferStatus::kCouldNotOpenFile);
    context.progress.Pause(36, false);
    return kTransferCannotOpenFile;
  }
  context.progress.ShowFile(name, file.size);
  context.progress.ShowStatus(TransferStatus::kWaitingForReceiver);
  context.session.result = kTransferOk;
  if (context.protocol.number == kProtocolAscii) return SendAscii(context.session, file);
  return context.blockSender->SendFile(file, name);
}

// Sends one Zmodem file, named by its bare name or, with full path names, by its path.
int SendZmodemOne(TransferContext& context, const std::string& path, const std::string& name) {
  FileToSend file = OpenFileToSend(path);
  if (!file.fd.Valid()) {
    context.session.Fail(kTransferCannotOpenFile, TransferStatus::kCouldNotOpenFile);
    context.progress.Pause(36, false);
    return kTransferCannotOpenFile;
  }
  const std::string sentName =
      context.options.fullPathNames ? std::filesystem::absolute(path).string() : name;
  context.progress.ShowFile(sentName, file.size);
  context.session.result = kTransferOk;
  return context.zmodemSender->SendFile(file, sentName);
}

std::unique_ptr<TransferContext> BeginUpload(int port, TavixWindow window, int protocol) {
  auto context = std::make_unique<TransferContext>(port, window,
                                                   WindowTitle(port, protocol, SendTitle(protocol)),
                                                   true, DescribeBlockProtocol(protocol)->batch);
  context->protocol = *DescribeBlockProtocol(protocol);
  context->blockSender = std::make_unique<XymodemSender>(context->session, context->protocol);
  return context;
}

int FinishUpload(TransferContext& context) {
  if (context.protocol.batch && !context.progress.Cancelled()) {
    return context.blockSender->EndBatch();
  }
  return kTransferOk;
}

int RunDownload(int port, TavixWindow window, int protocol, const char* directory,
                const char* fileName) {
  TransferContext context(port, window, WindowTitle(port, protocol, ReceiveTitle(protocol)), false,
                          DescribeBlockProtocol(protocol)->batch);
  const std::string name = fileName ? fileName : "";
  if (protocol == kProtocolAscii) {
    context.progress.ShowFile(name, std::nullopt);
    return ReceiveAscii(context.session, PathOf(directory, name));
  }
  std::optional<std::string> folder;
  if (directory && *directory) folder = directory;
  return ReceiveXymodem(context.session, *DescribeBlockProtocol(protocol), folder, name);
}

}  // namespace
}  // namespace tavix

using namespace tavix;

extern "C" {

int32_t Upload(int32_t port, TavixWindow window, int32_t protocol) {
  if (!DescribeBlockProtocol(protocol)) return kUploadBadProtocol;
  if (!ValidPort(port) || !CanShowWindows()) return kTransferOk;  // no dialog: as if cancelled
  const bool batch = DescribeBlockProtocol(protocol)->batch;
  const QString filter = protocol == kProtocolAscii ? kAsciiFilter : kUploadFilter;
  const QStringList files = AskFileQuestion(
      {batch ? FileQuestion::Kind::kOpenMany : FileQuestion::Kind::kOpenOne, DialogOwner(window),
       batch ? "Select A File Or Group Of Files To Upload" : "Select A File To Upload",
       UploadFolder(port), filter});
  if (files.isEmpty()) return kTransferOk;
  auto context = BeginUpload(port, window, protocol);
  for (const QString& file : files) {
    const std::string path = file.toStdString();
    const int result = UploadOne(*context, path, std::filesystem::path(path).filename().string());
    if (result != kTransferOk) return result;
    if (context->progress.Cancelled()) return kTransferOk;
  }
  return FinishUpload(*context);
}

int32_t UploadEx(int32_t port, TavixWindow window, int32_t protocol, const char* directory,
                 const char* fileName, int32_t phase) {
  if (port < 0 || port >= kPortCount) return phase == -1 ? kTransferOk : kTransferCannotOpenFile;
  std::unique_ptr<TransferContext>& context = gPhasedContexts[static_cast<std::size_t>(port)];
  if (phase == -1) {
    if (!context) return kTransferOk;
    const int result = context->blockSender ? FinishUpload(*context) : kTransferOk;
    context.reset();
    return result;
  }
  if (phase == 0) {
    if (!DescribeBlockProtocol(protocol)) return kUploadBadProtocol;
    if (!ValidPort(port)) return kTransferCannotOpenFile;
    context = BeginUpload(port, window, protocol);
  }
  if (!context || !context->blockSender) return kTransferCannotOpenFile;
  const std::string name = fileName ? fileName : "";
  return UploadOne(*context, PathOf(directory, name), name);
}

int32_t Download(int32_t port, TavixWindow window, int32_t protocol) {
  if (!DescribeBlockProtocol(protocol)) return kDownloadBadProtocol;
  if (!ValidPort(port) || !CanShowWindows()) return kTransferOk;
  if (DescribeBlockProtocol(protocol)->batch) {
    const QString folder = AskDownloadFolder(port, window);
    if (folder.isEmpty()) return kTransferOk;
    return RunDownload(port, window, protocol, folder.toStdString().c_str(), nullptr);
  }
  const QStringList file = AskFileQuestion(
      {FileQuestion::Kind::kSave, DialogOwner(window), ReceiveTitle(protocol).c_str(),
       DownloadFolder(port), protocol == kProtocolAscii ? kAsciiFilter : kUploadFilter});
  if (file.isEmpty()) return kTransferOk;
  return RunDownload(port, window, protocol, nullptr, file.front().toStdString().c_str());
}

int32_t DownloadEx(int32_t port, TavixWindow window, int32_t protocol, const char* directory,
                   const char* fileName) {
  if (!DescribeBlockProtocol(protocol)) return kDownloadBadProtocol;
  if (!DescribeBlockProtocol(protocol)->batch && (!fileName || !*fileName)) {
    return kDownloadNoFileName;
  }
  if (!ValidPort(port)) return kTransferCannotOpenFile;
  return RunDownload(port, window, protocol, directory, fileName);
}

int32_t SendZmodem(int32_t port, TavixWindow window) {
  if (!ValidPort(port) || !CanShowWindows()) return kTransferOk;
  const QStringList files = AskFileQuestion({FileQuestion::Kind::kOpenMany, DialogOwner(window),
                                             "Select A File Or Group Of Files To Upload",
                                             UploadFolder(port), kUploadFilter});
  if (files.isEmpty()) return kTransferOk;
  TransferContext context(port, window, "Zmodem Send", true, true);
  context.zmodemSender = std::make_unique<ZmodemSender>(context.session);
  context.zmodemSender->StartBatch();
  for (const QString& file : files) {
    const std::string path = file.toStdString();
    const int result =
        SendZmodemOne(context, path, std::filesystem::path(path).filename().string());
    if (result != kTransferOk) return result;
  }
  return context.zmodemSender->EndBatch();
}

int32_t SendZmodemEx(int32_t port, TavixWindow window, const char* directory, const char* fileName,
                     int32_t phase) {
  if (port < 0 || port >= kPortCount) return phase == -1 ? kTransferOk : kTransferCannotOpenFile;
  std::unique_ptr<TransferContext>& context = gPhasedContexts[static_cast<std::size_t>(port)];
  if (phase == -1) {
    if (!context) return kTransferOk;
    if (context->zmodemSender) context->zmodemSender->EndBatch();
    context.reset();
    return kTransferOk;
  }
  if (phase == 0) {
    if (!ValidPort(port)) return kTransferCannotOpenFile;
    context = std::make_unique<TransferContext>(port, window, "Zmodem Send", true, true);
    context->zmodemSender = std::make_unique<ZmodemSender>(context->session);
    context->zmodemSender->StartBatch();
  }
  if (!context || !context->zmodemSender) return kTransferCannotOpenFile;
  const std::string name = fileName ? fileName : "";
  return SendZmodemOne(*context, PathOf(directory, name), name);
}

int32_t GetZmodemEx(int32_t port, TavixWindow window, const char* directory) {
  if (!ValidPort(port)) return kTransferCannotOpenFile;
  TransferContext context(port, window, "Zmodem Receive", false, true);
  ZmodemReceiveOptions options;
  if (directory && *directory) options.directory = directory;
  options.resume = context.options.zmodemResume;
  options.fullPathNames = context.options.fullPathNames;
  return ReceiveZmodem(context.session, options);
}

int32_t GetZmodem(int32_t port, TavixWindow window) {
  if (!ValidPort(port) || !CanShowWindows()) return kTransferOk;
  const QString folder = AskDownloadFolder(port, window);
  if (folder.isEmpty()) return kTransferOk;
  return GetZmodemEx(port, window, folder.toStdString().c_str());
}

}  // extern "C"
