#pragma once

#include <QPixmap>

namespace paltrix::app {

// The three pictures on the frame's toolbar, painted by the program (no image
// files are shipped): the header (the program's name beside its icon), the
// address card (a sender's address block on a label) and the close info (how
// the program is closed, "F8").
QPixmap FrameHeaderImage();
QPixmap FrameAddressImage();
QPixmap FrameCloseInfoImage();

}  // namespace paltrix::app
