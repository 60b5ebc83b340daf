#pragma once

// The terminal's two dialogs.

#include <QWidget>

namespace tavix::terminal {

// "Select A Protocol": the seven protocols with `defaultProtocol` selected (Zmodem when it is
// outside 0..6), centred on `parent`. Returns the chosen protocol number, or -1 on Cancel.
int ChooseProtocol(QWidget* parent, int defaultProtocol);

// "Session Parameters": shows the port's line settings (GetCommParams) and applies the chosen
// ones with InitPort on OK. Returns true when new settings were applied.
bool EditSessionParameters(QWidget* parent, int port);

}  // namespace tavix::terminal
