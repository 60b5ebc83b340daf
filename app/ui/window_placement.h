#pragma once

#include <QWidget>

#include "framework/ini/ini_file.h"

// Window positions kept in the framework INI file: one section per window,
// named by the window's object name, with the keys "X", "Y", "Width" and
// "Height" (pixels).
namespace paltrix::app {

// Moves and sizes `window` as stored. Leaves it as it is when a key is
// missing or the stored size is implausible (hand-edited or from another
// screen).
void RestoreWindowPlacement(QWidget& window, const ini::IniFile& ini);

// Stores the window's current position and size (of its normal, not
// maximised, state). Fails when the window's object name cannot be a section
// name.
Status StoreWindowPlacement(const QWidget& window, ini::IniFile& ini);

}  // namespace paltrix::app
