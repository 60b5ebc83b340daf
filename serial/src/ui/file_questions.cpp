#include "ui/file_questions.h"

#include <QFileDialog>
#include <array>
#include <utility>

#include "tavix32.h"

namespace tavix {
namespace {

struct PortFolders {
  QString upload;
  QString download;
};

FileQuestionAnswerer& InstalledAnswerer() {
  static FileQuestionAnswerer answerer;
  return answerer;
}

std::array<PortFolders, TAVIX_PORT_COUNT>& Folders() {
  static std::array<PortFolders, TAVIX_PORT_COUNT> folders;
  return folders;
}

QStringList AskWithDialog(const FileQuestion& question) {
  switch (question.kind) {
    case FileQuestion::Kind::kOpenOne: {
      const QString file = QFileDialog::getOpenFileName(question.owner, question.title,
                                                        question.folder, question.filter);
      return file.isEmpty() ? QStringList{} : QStringList{file};
    }
    case FileQuestion::Kind::kOpenMany:
      return QFileDialog::getOpenFileNames(question.owner, question.title, question.folder,
                                           question.filter);
    case FileQuestion::Kind::kSave: {
      const QString file = QFileDialog::getSaveFileName(question.owner, question.title,
                                                        question.folder, question.filter);
      return file.isEmpty() ? QStringList{} : QStringList{file};
    }
    case FileQuestion::Kind::kFolder: {
      const QString folder =
          QFileDialog::getExistingDirectory(question.owner, question.title, question.folder);
      return folder.isEmpty() ? QStringList{} : QStringList{folder};
    }
  }
  return {};
}

bool ValidPort(int port) {
  return port >= 0 && port < TAVIX_PORT_COUNT;
}

}  // namespace

void SetFileQuestionAnswerer(FileQuestionAnswerer answerer) {
  InstalledAnswerer() = std::move(answerer);
}

QStringList AskFileQuestion(const FileQuestion& question) {
  const FileQuestionAnswerer& answerer = InstalledAnswerer();
  return answerer ? answerer(question) : AskWithDialog(question);
}

void SetDialogFolders(int port, const std::string& upload, const std::string& download) {
  if (!ValidPort(port)) return;
  Folders()[static_cast<std::size_t>(port)] = {QString::fromStdString(upload),
                                               QString::fromStdString(download)};
}

QString UploadFolder(int port) {
  return ValidPort(port) ? Folders()[static_cast<std::size_t>(port)].upload : QString{};
}

QString DownloadFolder(int port) {
  return ValidPort(port) ? Folders()[static_cast<std::size_t>(port)].download : QString{};
}

}  // namespace tavix
