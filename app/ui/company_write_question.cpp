#include "app/ui/company_write_question.h"

#include "app/records/firma.h"
#include "app/ui/question_box.h"
#include "framework/fields/record_codec.h"

namespace paltrix::app {
namespace {

QString Serial(std::int32_t serial) {
  return QStringLiteral("%1").arg(serial, 9, 10, QLatin1Char('0'));
}

}  // namespace

bool WriteCompanyAsked(QWidget& form, records::RecordContext& context, storage::RecordNumber number,
                       storage::Record& record, std::int32_t typedSerial,
                       std::int32_t serialAtOpen) {
  const records::SerialChange change = typedSerial == serialAtOpen
                                           ? records::SerialChange::Keep()
                                           : records::SerialChange::Set(typedSerial);
  Result<records::CompanyWrite> written = context.WriteCompany(number, record, change);
  if (written.ok() && written->outcome == records::CompanyWriteOutcome::kLowerSerialRefused) {
    const bool confirmed =
        AskJaNej(&form, QStringLiteral("Serienr"),
                 QStringLiteral("Serienummeret %1 er lavere end det gemte %2.\n"
                                "SSCC-numre, der allerede er udskrevet, vil blive brugt igen.\n"
                                "Skal det lavere serienummer gemmes?")
                     .arg(Serial(typedSerial), Serial(written->storedSerial)));
    if (!confirmed) {
      fields::WriteLong(record.image, records::firma::SS, written->storedSerial);
      return false;
    }
    written = context.WriteCompany(number, record, records::SerialChange::ForceLower(typedSerial));
  }
  return written.ok() && written->outcome == records::CompanyWriteOutcome::kWritten;
}

}  // namespace paltrix::app
