#include "app/ui/window_placement.h"

#include <QRect>
#include <climits>
#include <string>
#include <utility>

namespace paltrix::app {
namespace {

constexpr int kMissing = INT_MIN;  // outside every plausible range
constexpr int kSmallestSide = 100;
constexpr int kLargestSide = 20000;
constexpr int kFarthestPosition = 100000;

// Checked before a QRect is made of them: QRect adds them up.
bool Plausible(int x, int y, int width, int height) {
  const auto within = [](int value, int low, int high) { return value >= low && value <= high; };
  return within(width, kSmallestSide, kLargestSide) &&
         within(height, kSmallestSide, kLargestSide) &&
         within(x, -kFarthestPosition, kFarthestPosition) &&
         within(y, -kFarthestPosition, kFarthestPosition);
}

}  // namespace

void RestoreWindowPlacement(QWidget& window, const ini::IniFile& ini) {
  const std::string section = window.objectName().toStdString();
  const int x = ini.GetInteger(section, "X", kMissing);
  const int y = ini.GetInteger(section, "Y", kMissing);
  const int width = ini.GetInteger(section, "Width", kMissing);
  const int height = ini.GetInteger(section, "Height", kMissing);
  if (!Plausible(x, y, width, height)) return;
  window.setGeometry(x, y, width, height);
}

Status StoreWindowPlacement(const QWidget& window, ini::IniFile& ini) {
  const std::string section = window.objectName().toStdString();
  const QRect placement =
      window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
  for (const auto& [key, value] :
       {std::pair{"X", placement.x()}, std::pair{"Y", placement.y()},
        std::pair{"Width", placement.width()}, std::pair{"Height", placement.height()}}) {
    if (Status set = ini.SetInteger(section, key, value); !set.ok()) return set;
  }
  return Status::Ok();
}

}  // namespace paltrix::app
