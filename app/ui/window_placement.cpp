#include "app/ui/window_placement.h"

#include <QRect>
#include <climits>
#include <string>
#include <utility>

namespace paltrix::app {
namespace {

constexpr int kMissing = INT_MIN;
constexpr int kSmallestSide = 100;
constexpr int kLargestSide = 20000;
constexpr int kFarthestPosition = 100000;

bool Plausible(const QRect& placement) {
  const auto within = [](int value, int low, int high) { return value >= low && value <= high; };
  return within(placement.width(), kSmallestSide, kLargestSide) &&
         within(placement.height(), kSmallestSide, kLargestSide) &&
         within(placement.x(), -kFarthestPosition, kFarthestPosition) &&
         within(placement.y(), -kFarthestPosition, kFarthestPosition);
}

}  // namespace

void RestoreWindowPlacement(QWidget& window, const ini::IniFile& ini) {
  const std::string section = window.objectName().toStdString();
  const int x = ini.GetInteger(section, "X", kMissing);
  const int y = ini.GetInteger(section, "Y", kMissing);
  const int width = ini.GetInteger(section, "Width", kMissing);
  const int height = ini.GetInteger(section, "Height", kMissing);
  const QRect placement(x, y, width, height);
  if (x == kMissing || y == kMissing || !Plausible(placement)) return;
  window.setGeometry(placement);
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
