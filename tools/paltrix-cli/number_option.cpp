#include "tools/paltrix-cli/number_option.h"

#include <fmt/format.h>

#include <algorithm>
#include <limits>

#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/field_input.h"

namespace paltrix::cli {

CLI::Option* AddNumberOption(CLI::App& command, const std::string& name,
                             std::optional<std::int64_t>& target, std::int64_t minimum,
                             std::int64_t maximum, const std::string& description) {
  return command
      .add_option_function<std::string>(
          name,
          [name, minimum, maximum, &target](const std::string& text) {
            target = WholeNumber(name, text, minimum, maximum);
          },
          fmt::format("{} ({} to {})", description, minimum, maximum))
      ->type_name("NUMBER");
}

CLI::Option* AddNumberChoice(CLI::App& command, const std::string& name,
                             std::optional<std::int64_t>& target, std::vector<std::int64_t> allowed,
                             const std::string& description) {
  const std::string listed = fmt::format("{}", fmt::join(allowed, ", "));
  return command
      .add_option_function<std::string>(
          name,
          [name, allowed, listed, &target](const std::string& text) {
            const std::int64_t value =
                WholeNumber(name, text, std::numeric_limits<std::int64_t>::min(),
                            std::numeric_limits<std::int64_t>::max());
            if (std::find(allowed.begin(), allowed.end(), value) == allowed.end()) {
              throw BadInput(fmt::format("{}: {} is not one of {}", name, value, listed));
            }
            target = value;
          },
          fmt::format("{} (one of {})", description, listed))
      ->type_name("NUMBER");
}

}  // namespace paltrix::cli
