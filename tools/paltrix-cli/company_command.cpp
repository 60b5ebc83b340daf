#include <fmt/format.h>

#include <memory>
#include <optional>

#include "app/gs1/sscc.h"
#include "app/records/firma.h"
#include "framework/console.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/cli_session.h"
#include "tools/paltrix-cli/commands.h"
#include "tools/paltrix-cli/field_input.h"
#include "tools/paltrix-cli/number_option.h"

namespace paltrix::cli {
namespace {

namespace firma = records::firma;

struct CompanyOptions {
  std::optional<std::string> name, address1, address2, town, phone, fax;
  std::optional<std::int64_t> postcode, prefix, serial, pallets;
  bool force = false;
};

struct TextChange {
  const fields::FieldDef& field;
  std::string value;
};

void SetCompany(const CompanyOptions& options) {
  // Every value is checked before the file is touched.
  std::vector<TextChange> texts;
  const auto text = [&](const fields::FieldDef& field, std::string_view option,
                        const std::optional<std::string>& value) {
    if (value) texts.push_back({field, RecordText(option, *value, field.size)});
  };
  text(firma::NAVN, "--name", options.name);
  text(firma::ADRESSE1, "--address1", options.address1);
  text(firma::ADRESSE2, "--address2", options.address2);
  text(firma::BYNAVN, "--town", options.town);
  text(firma::TELEFON, "--phone", options.phone);
  text(firma::FAX, "--fax", options.fax);

  CliSession session;
  session.ReadCompany();  // an empty file leaves a blank buffer: the record is created
  const fields::Image image = session.records().Buffer(firma::kSchema).image;
  for (const TextChange& change : texts) fields::WriteText(image, change.field, change.value);
  if (options.postcode) {
    fields::WriteShort(image, firma::POSTNR, static_cast<std::int16_t>(*options.postcode));
  }
  if (options.prefix) {
    fields::WriteLong(image, firma::SSCCNR, static_cast<std::int32_t>(*options.prefix));
  }
  if (options.pallets) {
    fields::WriteLong(image, firma::ANTALPALLER, static_cast<std::int32_t>(*options.pallets));
  }
  records::SerialChange serial = records::SerialChange::Keep();
  if (options.serial) {
    const auto value = static_cast<std::int32_t>(*options.serial);
    serial = options.force ? records::SerialChange::ForceLower(value)
                           : records::SerialChange::Set(value);
  }
  const Result<records::CompanyWrite> written = session.records().WriteFirma(serial);
  Check(written.status(), "cannot store the company record");
  if (written->outcome == records::CompanyWriteOutcome::kLowerSerialRefused) {
    throw Failed(fmt::format(
        "--serial {:09} is below the stored serial {:09}: the SSCCs in between have been issued "
        "already and would be issued again; nothing was changed (add --force to set it anyway)",
        *options.serial, written->storedSerial));
  }
}

void ShowCompany() {
  CliSession session;
  if (!session.ReadCompany()) {
    throw Failed("there is no company record yet: use 'paltrix-cli company set'");
  }
  const fields::ConstImage image = session.records().Buffer(firma::kSchema).image;
  console::WriteOut(fmt::format("Name:        {}\n", Utf8(firma::NAVN, image)));
  console::WriteOut(fmt::format("Address:     {}\n", Utf8(firma::ADRESSE1, image)));
  console::WriteOut(fmt::format("             {}\n", Utf8(firma::ADRESSE2, image)));
  console::WriteOut(fmt::format("Postcode:    {}\n", fields::ReadShort(image, firma::POSTNR)));
  console::WriteOut(fmt::format("Town:        {}\n", Utf8(firma::BYNAVN, image)));
  console::WriteOut(fmt::format("Phone:       {}\n", Utf8(firma::TELEFON, image)));
  console::WriteOut(fmt::format("Fax:         {}\n", Utf8(firma::FAX, image)));
  console::WriteOut(fmt::format("GS1 prefix:  {:08}\n", fields::ReadLong(image, firma::SSCCNR)));
  console::WriteOut(fmt::format("Serial:      {:09}\n", fields::ReadLong(image, firma::SS)));
  console::WriteOut(fmt::format("Last SSCC:   {}\n", Utf8(firma::SSCC, image)));
  console::WriteOut(fmt::format("Pallets/run: {}\n", fields::ReadLong(image, firma::ANTALPALLER)));
}

}  // namespace

void AddCompanyCommands(CLI::App& app) {
  CLI::App* company = app.add_subcommand("company", "The sending company's data and SSCC range");
  company->require_subcommand(1);

  auto options = std::make_shared<CompanyOptions>();
  CLI::App* set = company->add_subcommand(
      "set",
      "Change the company record (created when there is none); only the given values change");
  set->add_option("--name", options->name, "Company name (at most 35 characters)");
  set->add_option("--address1", options->address1, "First address line (35)");
  set->add_option("--address2", options->address2, "Second address line (35)");
  AddNumberOption(*set, "--postcode", options->postcode, 0, 32767, "Postal code");
  set->add_option("--town", options->town, "Town (20)");
  set->add_option("--phone", options->phone, "Phone number (20)");
  set->add_option("--fax", options->fax, "Fax number (20)");
  AddNumberOption(*set, "--prefix", options->prefix, 0, gs1::kLargestCompanyPrefix,
                  "GS1 prefix with extension digit (8 digits)");
  AddNumberOption(*set, "--serial", options->serial, 0, firma::kLargestSerial,
                  "Last SSCC serial used (9 digits); the next pallet gets serial + 1. Without "
                  "--serial the stored serial is kept, whatever prints meanwhile; a serial below "
                  "the stored one is refused");
  set->add_flag("--force", options->force,
                "Store a --serial below the stored one (SSCCs in between are issued again)");
  AddNumberOption(*set, "--pallets", options->pallets, 0, 99'999,
                  "Default number of pallets per print run");
  set->callback([options] { SetCompany(*options); });

  company->add_subcommand("show", "Show the company record")->callback(ShowCompany);
}

}  // namespace paltrix::cli
