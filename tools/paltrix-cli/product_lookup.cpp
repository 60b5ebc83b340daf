#include "tools/paltrix-cli/product_lookup.h"

#include <fmt/format.h>

#include "app/records/produkt.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/field_input.h"

namespace paltrix::cli {

namespace produkt = records::produkt;

FoundProduct FindProduct(CliSession& session, std::string_view option, std::string_view utf8Id) {
  storage::Record probe = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(probe.image, produkt::PRODUKTID,
                    RecordText(option, utf8Id, produkt::PRODUKTID.size - 1));
  storage::KeyedFile& file = session.File(produkt::kSchema);
  FoundProduct found{storage::Record::Blank(produkt::kSchema), 0};
  const Status status = file.Fetch(produkt::kIDKey, probe, found.record);
  if (status.code() == ErrorCode::kRecordNotFound) {
    throw Failed(fmt::format("there is no product with the ID {}", Quoted(utf8Id)));
  }
  Check(status, "cannot read the product file");
  found.number = file.position();
  return found;
}

}  // namespace paltrix::cli
