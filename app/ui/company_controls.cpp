#include "app/ui/company_controls.h"

#include "app/records/firma.h"
#include "app/ui/form_controls.h"

namespace paltrix::app {
namespace {

namespace firma = records::firma;

struct TextControl {
  QLineEdit* CompanyControls::*entry;
  const fields::FieldDef* field;
};

constexpr TextControl kTextControls[] = {
    {&CompanyControls::name, &firma::NAVN},         {&CompanyControls::address1, &firma::ADRESSE1},
    {&CompanyControls::address2, &firma::ADRESSE2}, {&CompanyControls::town, &firma::BYNAVN},
    {&CompanyControls::phone, &firma::TELEFON},     {&CompanyControls::fax, &firma::FAX},
};

}  // namespace

void CompanyControls::Show(fields::ConstImage image) const {
  for (const TextControl& control : kTextControls) {
    (this->*control.entry)->setText(ShownText(image, *control.field));
  }
  postCode->setValue(fields::ReadShort(image, firma::POSTNR));
  ShowZeroFilled(*prefix, fields::ReadLong(image, firma::SSCCNR));
  ShowZeroFilled(*serial, fields::ReadLong(image, firma::SS));
  pallets->setValue(fields::ReadLong(image, firma::ANTALPALLER));
}

QLineEdit* CompanyControls::Take(fields::Image image) const {
  for (const TextControl& control : kTextControls) {
    QLineEdit* entry = this->*control.entry;
    const std::optional<std::string> stored = StoredText(entry->text());
    if (!stored) return entry;
    fields::WriteText(image, *control.field, *stored);
  }
  fields::WriteShort(image, firma::POSTNR, static_cast<std::int16_t>(postCode->value()));
  fields::WriteLong(image, firma::SSCCNR, ZeroFilledValue(*prefix));
  fields::WriteLong(image, firma::SS, ZeroFilledValue(*serial));
  fields::WriteLong(image, firma::ANTALPALLER, pallets->value());
  return nullptr;
}

}  // namespace paltrix::app
