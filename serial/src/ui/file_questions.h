#pragma once

// The file and folder questions the library asks (which files to upload, where to save a
// download, the capture file). The Qt file dialogs answer them, starting in the folders the
// port's terminal set, unless a program installs an answerer of its own (an unattended station,
// a test that plays the operator).

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QWidget;

namespace tavix {

struct FileQuestion {
  enum class Kind {
    kOpenOne,   // one existing file
    kOpenMany,  // one or more existing files
    kSave,      // a file name to write, in an existing folder
    kFolder,    // an existing folder
  };
  Kind kind = Kind::kOpenOne;
  QWidget* owner = nullptr;
  QString title;
  QString folder;  // where the dialog starts; empty: where it last was
  QString filter;  // Qt filter text ("Name (*.a *.b);;All Files (*)"); unused for folders
};

// The chosen paths; empty when the question was cancelled.
using FileQuestionAnswerer = std::function<QStringList(const FileQuestion&)>;

// Every later question goes to `answerer`; an empty function brings back the Qt dialogs.
void SetFileQuestionAnswerer(FileQuestionAnswerer answerer);

QStringList AskFileQuestion(const FileQuestion& question);

// The folders the upload and download questions of a port start in (its terminal's folders);
// empty names leave the choice to the dialog. Ports outside 0..19 are ignored.
void SetDialogFolders(int port, const std::string& upload, const std::string& download);
QString UploadFolder(int port);
QString DownloadFolder(int port);

}  // namespace tavix
