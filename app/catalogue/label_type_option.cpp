#include "app/catalogue/label_type_option.h"

#include "app/dispatch/label_format.h"

namespace paltrix::catalogue {

bool LabelTypeOptionShown(std::string_view storedFormat, std::int32_t dots) {
  return dispatch::ParseLabelFormat(storedFormat) == dispatch::LabelFormat::kZpl4Inch && dots == 8;
}

}  // namespace paltrix::catalogue
