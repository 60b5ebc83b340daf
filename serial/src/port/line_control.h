#pragma once

// The per-port line-control record that InitPort and SetFlowControl fill before programming the
// device, kept so the flow-control decisions can be read back (tests, the terminal).

namespace tavix {

enum class LineHandshake { kHeldOn, kHandshake };

struct LineControl {
  bool ctsOutputFlow = false;
  LineHandshake rtsControl = LineHandshake::kHeldOn;
  bool dsrOutputFlow = false;
  LineHandshake dtrControl = LineHandshake::kHeldOn;
  bool xonXoffInput = false;
  bool xonXoffOutput = false;
};

// Sets the flow-control part of `control` from the three flags.
inline void SetFlowBits(LineControl& control, bool ctsRts, bool xonXoff, bool dsrDtr) {
  control.ctsOutputFlow = ctsRts;
  control.rtsControl = ctsRts ? LineHandshake::kHandshake : LineHandshake::kHeldOn;
  control.xonXoffInput = control.xonXoffOutput = xonXoff;
  control.dsrOutputFlow = dsrDtr;
  control.dtrControl = dsrDtr ? LineHandshake::kHandshake : LineHandshake::kHeldOn;
}

}  // namespace tavix
