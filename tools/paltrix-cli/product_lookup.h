#pragma once

#include <string_view>

#include "framework/storage/keyed_file.h"
#include "tools/paltrix-cli/cli_session.h"

namespace paltrix::cli {

struct FoundProduct {
  storage::Record record;
  storage::RecordNumber number = 0;
};

// The product with this ID (compared without regard to case, as PRO:IDKey
// does), given with `option`; an unknown ID ends the command with a clear
// message.
FoundProduct FindProduct(CliSession& session, std::string_view option, std::string_view utf8Id);

}  // namespace paltrix::cli
