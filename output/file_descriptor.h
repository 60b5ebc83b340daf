#pragma once

#include "framework/file_descriptor.h"

namespace paltrix::output {

using paltrix::FileDescriptor;

}  // namespace paltrix::output
