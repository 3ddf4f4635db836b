#pragma once

#include <string>
#include <vector>

#include "platform/record_file.h"
#include "post/invoicing/invoice_records.h"
#include "post/login/login_records.h"
#include "tests/post/reports/report_fixture.h"

namespace lum::test {

// The report fixture's entity with a letterhead (address, telephones, ABN)
// and invoicing files written record by record.
struct InvoicingParts : ReportParts {
  struct Line {
    int code = 0;
    const char* particulars = "";
    float quantity = 0;
    long long unitCents = 0;
    const char* gst = "";
    long long amountCents = 0;
  };
  struct Sale {
    int customer = 0;
    const char* date = "";
    const char* due = "";
    const char* paidDate = "";
    long long totalCents = 0;
    long long gstCents = 0;
    long long paidCents = 0;
    long long discountCents = 0;
    long long writtenOffCents = 0;
    std::vector<int> details = {};  // the detail numbers of lines 1, 2, ...
    std::int16_t inUse = kInUse;
  };

  InvoicingParts() {
    EntityRecord entity;
    entity.name = "Smith Plumbing";
    entity.secondNameLine = "Pty Ltd";
    entity.addressLine1 = "12 High Street";
    entity.addressLine2 = "Parramatta";
    entity.postcode = "2150";
    entity.telephoneAreaCode = "02";
    entity.telephoneNumber = "9635 1111";
    entity.faxAreaCode = "02";
    entity.faxNumber = "9635 2222";
    entity.abn = "12 345 678 901";
    put<EntityRecord>("Ent.dat", 1, entity);
  }

  template <class Record>
  void put(const char* file, int number, const Record& record) {
    RecordFile(ops, area() / file, Record::kSize).put(number, record);
  }

  void setCounter(EntityCounter counter, int value, const char* label) {
    put<CounterRecord>("Lcn-0001.dat", static_cast<int>(counter),
                       CounterRecord{label, static_cast<std::int16_t>(value)});
  }

  void sale(int number, const Sale& sale) {
    InvoiceRecord record;
    record.customer = static_cast<std::int16_t>(sale.customer);
    record.date = sale.date;
    record.dateDue = sale.due;
    record.datePaid = sale.paidDate;
    record.total = Currency::fromCents(sale.totalCents);
    record.gst = Currency::fromCents(sale.gstCents);
    record.amountPaid = Currency::fromCents(sale.paidCents);
    record.discount = Currency::fromCents(sale.discountCents);
    record.writtenOff = Currency::fromCents(sale.writtenOffCents);
    for (std::size_t i = 0; i < sale.details.size(); ++i) {
      record.detailNumbers[i + 1] = static_cast<float>(sale.details[i]);
    }
    record.inUse = sale.inUse;
    put("Inv-0001.dat", number, record);
  }

  void line(int detail, const Line& line) {
    InvoiceLineRecord record;
    record.productCode = static_cast<std::int16_t>(line.code);
    record.particulars = line.particulars;
    record.quantity = line.quantity;
    record.unitPrice = Currency::fromCents(line.unitCents);
    record.gst = line.gst;
    record.amount = Currency::fromCents(line.amountCents);
    record.inUse = kInUse;
    put("InD-0001.dat", detail, record);
  }

  void customer(int number, std::array<std::string, 9> fields) {
    CustomerRecord record;
    record.texts = std::move(fields);
    record.inUse = kInUse;
    put("Cus-0001.dat", number, record);
  }

  void product(int code, const char* description, long long unitCents, const char* gst) {
    put("Prd-0001.dat", code,
        ProductRecord{description, Currency::fromCents(unitCents), gst, kInUse});
  }

  // Seven invoices of two customers, each a case of the lists as at
  // 31/08/05 (see invoice_documents_test.cpp), with three lines on the first.
  void writeSales() {
    customer(1, {"Jones Building", "Contractors", "Unit 3", "4 Main Road", "Penrith", "NSW", "2750",
                 "02 4721 0000", "Ann Jones"});
    customer(2, {"Brown & Co", "", "PO Box 9", "", "Blacktown", "NSW", "2148", "", ""});
    product(3, "Copper pipe 15mm", 5000, "y");
    product(7, "Labour per hour", 8000, "y");
    line(1, {3, "Copper pipe 15mm", 2, 5000, "y", 11000});
    line(2, {7, "Labour per hour", 2, 8000, "y", 17600});
    line(3, {0, "Thank you for your business"});
    sale(1, {1, "05/08/05", "04/09/05", "", 28600, 2600, 10000, 600, 0, {1, 2, 3}});
    sale(2, {2, "31/08/05", "", "", 5500, 500});
    sale(3, {1, "01/08/2005", "15/08/05", "05/09/05", 22000, 2000, 22000});
    sale(4, {0, "10/08/05", "10/08/05", "10/08/05", 3300, 300, 3300});
    sale(5, {2, "12/08/05", "12/09/05", "xx/yy", -2200, -200});
    sale(6, {1, "02/08/05", "", "", 9900, 900, 0, 0, 0, {}, 0});
    sale(7, {1, "01/09/05", "01/10/05", "", 4400, 400});
    setCounter(EntityCounter::Invoices, 7, "Invoices");
    setCounter(EntityCounter::InvoiceDetails, 3, "Invoice Details");
    setCounter(EntityCounter::Products, 7, "Products");
    setCounter(EntityCounter::Customers, 2, "Customers");
  }
};

}  // namespace lum::test
