#pragma once

#include <cstdint>
#include <span>

#include "framework/errors/message_table.h"

namespace paltrix::errors {

// The messages every program starts with, as a readable list in number order.
std::span<const MessageDefinition> BuiltInMessages();

// The same messages in the stored form, built at compile time.
std::span<const std::uint8_t> BuiltInMessageTable();

}  // namespace paltrix::errors
