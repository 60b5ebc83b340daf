#include "app/a5/a5_report.h"

namespace paltrix::a5 {

std::string_view ReportName(A5Report report) {
  switch (report) {
    case A5Report::kStandard:
      return "Standard";
    case A5Report::kSimple:
      return "Standard_simple";
    case A5Report::kMix:
      return "Standard_mix";
  }
  return {};
}

}  // namespace paltrix::a5
