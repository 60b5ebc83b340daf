#pragma once

#include <CLI/CLI.hpp>
#include <map>
#include <string>
#include <vector>

namespace paltrix::cli {

// Adds an option whose value is one of the names in `choices`, in any letter
// case, and stores the value that name stands for in `target`. Help and error
// messages list the names only: the values are enumerators, which CLI11 would
// print as numbers or, for a byte-sized enum, as raw bytes.
// REQUIRES: `choices` and `target` outlive parsing; the names are lower case.
template <typename Value, typename Target>
CLI::Option* AddChoiceOption(CLI::App& command, const std::string& name,
                             const std::map<std::string, Value>& choices, Target& target,
                             const std::string& description) {
  std::vector<std::string> names;
  for (const auto& choice : choices) names.push_back(choice.first);
  return command
      .add_option_function<std::string>(
          name, [&choices, &target](const std::string& chosen) { target = choices.at(chosen); },
          description)
      ->transform(CLI::IsMember(names, CLI::ignore_case));
}

}  // namespace paltrix::cli
