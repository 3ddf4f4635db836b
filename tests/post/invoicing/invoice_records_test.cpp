#include "post/invoicing/invoice_records.h"

#include <gtest/gtest.h>

#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;
using test::decodeAndRoundTrip;

TEST(InvoiceRecords, InvoiceHeader) {
  Bytes bytes;
  bytes.float32(0).float32(12).float32(13);  // 0 detail numbers: unused, lines 1 and 2
  for (int i = 3; i <= 40; ++i) {
    bytes.float32(0);
  }
  bytes
      .int16(4)                // 164 customer
      .text("03/08/05", 10)    // 166 invoice date
      .text("", 10)            // 176 date paid
      .text("02/09/2005", 10)  // 186 date due
      .raw8(-1'100'000)        // 196 total -110.00
      .raw8(-100'000)          // 204 GST -10.00
      .raw8(125'000)           // 212 amount paid 12.50
      .raw8(5'000)             // 220 discount 0.50
      .raw8(1)                 // 228 written off 0.0001
      .int16(99);              // 236 in use
  const auto r = decodeAndRoundTrip<InvoiceRecord>(bytes);
  EXPECT_EQ(r.detailNumbers[1], 12.0f);
  EXPECT_EQ(r.detailNumbers[2], 13.0f);
  EXPECT_EQ(r.detailNumbers[40], 0.0f);
  EXPECT_EQ(r.customer, 4);
  EXPECT_EQ(r.date, "03/08/05");
  EXPECT_EQ(r.datePaid, "");
  EXPECT_EQ(r.dateDue, "02/09/2005");
  EXPECT_EQ(r.total, Currency::fromCents(-11000));
  EXPECT_EQ(r.gst, Currency::fromCents(-1000));
  EXPECT_EQ(r.amountPaid, Currency::fromCents(1250));
  EXPECT_EQ(r.discount, Currency::fromCents(50));
  EXPECT_EQ(r.writtenOff, Currency::fromRaw(1));
  EXPECT_EQ(r.inUse, kInUse);
  EXPECT_EQ(fieldOffset<InvoiceRecord>("customer"), 164u);
  EXPECT_EQ(fieldOffset<InvoiceRecord>("in_use"), 236u);
}

TEST(InvoiceRecords, Customer) {
  const auto r = decodeAndRoundTrip<CustomerRecord>(Bytes()
                                                        .text("Harbour Cafe", 48)  // 0
                                                        .text("Pty Ltd", 48)       // 48
                                                        .text("12 Quay St", 48)    // 96
                                                        .text("", 48)              // 144
                                                        .text("Hobart", 32)        // 192
                                                        .text("TAS", 3)            // 224
                                                        .text("7000", 4)           // 227
                                                        .text("03 6200 0000", 32)  // 231
                                                        .text("Ann", 24)           // 263
                                                        .int16(99));               // 287
  EXPECT_EQ(r.texts, (std::array<std::string, 9>{"Harbour Cafe", "Pty Ltd", "12 Quay St", "",
                                                 "Hobart", "TAS", "7000", "03 6200 0000", "Ann"}));
  EXPECT_EQ(r.inUse, kInUse);
  EXPECT_EQ(fieldOffset<CustomerRecord>("contact"), 263u);
}

}  // namespace
}  // namespace lum
