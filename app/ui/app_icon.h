#pragma once

#include <QIcon>

namespace paltrix::app {

// The program's icon: a pallet carrying a box with a barcode label, painted at
// the usual icon sizes.
QIcon PaltrixIcon();

}  // namespace paltrix::app
