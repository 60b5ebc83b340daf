// Writes the program's icon, as the program paints it, to PNG files for the
// desktop's icon theme: FOLDER/<size>.png for each size given.
// Usage: paltrix-icon-png FOLDER SIZE...

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>

#include "app/ui/app_icon.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER SIZE...\n", argv[0]);
    return 2;
  }
  QGuiApplication application(argc, argv);
  const QIcon icon = paltrix::app::PaltrixIcon();
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const int size = QString::fromLocal8Bit(argv[i]).toInt();
    const QString file = folder + QStringLiteral("/%1.png").arg(size);
    if (size <= 0 || !icon.pixmap(size, size).save(file, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
