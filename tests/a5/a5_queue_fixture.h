#pragma once

#include <string>
#include <vector>

#include "app/a5/add_a5_label.h"
#include "app/a5/report_run.h"
#include "app/records/a5etiket.h"
#include "app/records/firma.h"
#include "app/records/produkt.h"
#include "framework/fields/date_time.h"
#include "tests/records/record_files_fixture.h"

namespace paltrix::a5::testing {

// A working directory with a company (serial 41) and the product "100";
// labels queued with the real, durable SSCC allocation.
class A5QueueTest : public records::RecordFilesTest {
 protected:
  A5QueueTest() {
    storage::Record& firma = context_.Buffer(records::firma::kSchema);
    firma = storage::Record::Blank(records::firma::kSchema);
    fields::WriteText(firma.image, records::firma::NAVN, "Blomster ApS");
    fields::WriteLong(firma.image, records::firma::SSCCNR, 5790001);
    fields::WriteLong(firma.image, records::firma::SS, 41);
    EXPECT_TRUE(context_.WriteFirma(records::SerialChange::Set(41)).ok());

    product_ = storage::Record::Blank(records::produkt::kSchema);
    namespace pro = records::produkt;
    fields::WriteText(product_.image, pro::PRODUKTID, "100");
    fields::WriteText(product_.image, pro::PRODUKTNAVN, "Tulipaner");
    fields::WriteText(product_.image, pro::EANNR, "5701234567899");
    fields::WriteLong(product_.image, pro::ANTALPRPALLE, 12);
    fields::WriteLong(product_.image, pro::HOLDBARTIL, today_ + 10);
    fields::WriteDecimal(product_.image, pro::NETTOVAEGT, 12500);
    fields::WriteText(product_.image, pro::BATCHNR, "L42");
    records::AddRecord(context_, pro::kSchema, product_);
  }

  QueueReport Queue(int pallets, int labelsPerPallet) {
    Result<storage::KeyedFile*> firmaFile = context_.File(records::firma::kSchema);
    EXPECT_TRUE(firmaFile.ok());
    gs1::FirmaSsccAllocator allocator(**firmaFile, context_.Buffer(records::firma::kSchema));
    return AddA5Label(context_, product_.image, {pallets, labelsPerPallet}, allocator, today_,
                      errors_);
  }

  // The SSCCs of the queued records in A5E:KeySSCC order.
  std::vector<std::string> QueuedSsccs() {
    std::vector<std::string> ssccs;
    storage::KeyedFile& queue = **context_.File(records::a5etiket::kSchema);
    EXPECT_TRUE(queue.SetKeyOrder(records::a5etiket::kKeySSCC).ok());
    storage::Record record = storage::Record::Blank(records::a5etiket::kSchema);
    while (queue.Next(record).ok()) {
      ssccs.push_back(fields::ReadText(record.image, records::a5etiket::SSCC));
    }
    return ssccs;
  }

  std::int32_t today_ = *fields::DayNumberFromCivil({2027, 3, 1});
  records::RecordContext context_{registry_};
  storage::Record product_;
};

}  // namespace paltrix::a5::testing
