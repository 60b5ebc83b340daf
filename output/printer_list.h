#pragma once

#include <string>
#include <vector>

namespace paltrix::output {

// One row of the printer selection list.
struct PrinterListRow {
  std::string SHOWNAME;     // "<printer name> on <port>", both without trailing blanks
  std::string PRINTERNAME;  // the spooler's name, which a selection returns
};

using PrinterList = std::vector<PrinterListRow>;

}  // namespace paltrix::output
