#pragma once

#include "port/port_table.h"

namespace tavix {

// Disarms notification and waits for the port's notification thread to end.
void StopNotification(PortRecord& record);

}  // namespace tavix
