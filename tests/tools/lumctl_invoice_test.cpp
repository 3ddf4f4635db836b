#include <gtest/gtest.h>

#include "post/invoicing/invoice_records.h"
#include "post/login/journal_line_records.h"
#include "post/login/login_records.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/records.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::lumctl;

// Journal 1 of the one-entity work area (posting mode 0, quarterly) with
// one row dated in the September quarter, and a GST rate of 10%.
class LumctlInvoice : public ::testing::Test, protected test::LumctlArea {
 protected:
  LumctlInvoice() {
    test::writeOneEntityWorkArea(area());
    test::writeSetup(area(), {"0", "Q", "A", "0.1"});
    test::writeBytes(
        area() / "DI010001.dat",
        test::Bytes().text("03/08/26", 8).text("", 46).text("", 5).text("", 1).int16(0));
    test::Bytes amounts;
    amounts.raw8(0).raw8(10000).raw8(4 * 10000);
    amounts.zeros(8 * 98);
    test::writeBytes(area() / "AI010001.dat", amounts);
  }
  test::LumctlOutcome run(std::vector<std::string> args) {
    args.insert(args.begin(), "invoice");
    return LumctlArea::run(args);
  }
  test::LumctlOutcome save(const std::string& json) {
    test::writeText(dir / "invoice.json", json);
    return run({"save", "--journal", "1", "--period", "Sep", "--row", "1",
                (dir / "invoice.json").string()});
  }
};

TEST_F(LumctlInvoice, SavesAnInvoiceAsTypedAndShowsIt) {
  auto result = save(R"({
    "customer": {"number": 0, "fields": ["Harbour Cafe", "", "12 Quay St", "", "Hobart", "TAS",
                                         "7000", "03 6200 0000", "Ann"]},
    "date": "3/8/26", "due": "2.9.26",
    "lines": [{"code": 3, "particulars": "Tap washers", "qty": 2, "unit": "50.00", "gst": "Y"},
              {"particulars": "Call-out", "amount": "80"}],
    "amount_paid": "12.50"})");
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, "1\n");
  const auto row = test::recordOf<TransactionRecord>(area() / "DI010001.dat", 1);
  EXPECT_EQ(row.reference, "i1");
  EXPECT_EQ(row.particulars, "Harbour Cafe");
  EXPECT_EQ(test::recordOf<AmountsRecord>(area() / "AI010001.dat", 1).amounts[4],
            Currency::fromCents(19000));
  EXPECT_EQ(test::recordOf<CounterRecord>(area() / "Lcn-0001.dat", 6).value, 1);  // customers

  result = run({"show", "1"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(
      result.out,
      "{\"invoice\":1,\"customer\":1,\"customer_fields\":[\"Harbour Cafe\",\"\",\"12 Quay "
      "St\",\"\",\"Hobart\",\"TAS\",\"7000\",\"03 6200 0000\",\"Ann\"],\"date\":\"2026-08-03\","
      "\"due\":\"2026-09-02\",\"paid_date\":\"\",\"total\":\"190.0000\",\"gst\":\"10.0000\","
      "\"paid\":\"12.5000\",\"discount\":\"0.0000\",\"written_off\":\"0.0000\","
      "\"balance\":\"177.5000\",\"lines\":[{\"line\":1,\"code\":3,\"particulars\":\"Tap "
      "washers\",\"qty\":2.0,\"unit\":\"50.0000\",\"gst\":\"y\",\"amount\":\"110.0000\"},"
      "{\"line\":2,\"code\":0,\"particulars\":\"Call-out\",\"qty\":0.0,\"unit\":\"0.0000\","
      "\"gst\":\"\",\"amount\":\"80.0000\"}]}\n");

  // The row now names invoice 1: saving again edits it, by search this time.
  result = save(R"({"customer": {"search": "harb"}, "paid": true})");
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, "1\n");
  EXPECT_NE(run({"show", "1"}).out.find("\"paid_date\":\"2"), std::string::npos);
}

TEST_F(LumctlInvoice, ARefusedCellIsToldAndNothingIsSaved) {
  const auto before = test::readBytes(area() / "DI010001.dat");
  auto result = save(R"({"lines": [{"code": 30001}]})");
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("line 1 \"code\": Product Code greater than 30000 is not admissible"),
            std::string::npos)
      << result.err;
  result = save(R"({"lines": [{"qty": 1, "unit": "5", "gst": "x"}]})");
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("Incorrect Entry - expected Y or N"), std::string::npos) << result.err;
  result = save(R"({"customer": {"search": "nobody"}, "lines": [{"amount": "5"}]})");
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("Cannot find NOBODY"), std::string::npos) << result.err;
  result = save(R"({"customer": {"number": 40000}, "lines": [{"amount": "5"}]})");
  EXPECT_EQ(result.status, kExitRefused);
  result = save(R"({"lines": []})");
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("zero total"), std::string::npos) << result.err;
  EXPECT_EQ(test::readBytes(area() / "DI010001.dat"), before);
  EXPECT_FALSE(fs::exists(area() / "Inv-0001.dat") && fs::file_size(area() / "Inv-0001.dat") > 0);
}

TEST_F(LumctlInvoice, ClearAsksFirst) {
  ASSERT_EQ(save(R"({"lines": [{"amount": "5"}]})").status, kExitSuccess);
  auto result = run({"clear", "1"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("Do you want to clear Invoice number 1?"), std::string::npos);
  EXPECT_EQ(run({"show", "1"}).status, kExitSuccess);
  result = run({"clear", "1", "--yes"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(test::recordOf<InvoiceRecord>(area() / "Inv-0001.dat", 1).inUse, 0);
  result = run({"show", "1"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("there is no invoice 1"), std::string::npos);
}

}  // namespace
}  // namespace lum
