#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

using test::lumctl;
using Outcome = test::LumctlOutcome;

class LumctlDump : public ::testing::Test {
 protected:
  std::string file(const std::string& name, const std::vector<std::byte>& bytes) {
    test::writeBytes(dir / name, bytes);
    return (dir / name).string();
  }

  test::TempDir dir;
};

TEST_F(LumctlDump, PrintsEveryRecordAsAJsonLine) {
  const auto path = file("Lcn-0001.dat",
                         test::Bytes().text("Journals", 24).int16(5).text("Version", 24).int16(3));
  const Outcome run = lumctl({"dump", path});
  EXPECT_EQ(run.status, kExitSuccess);
  EXPECT_EQ(run.out,
            "{\"rec\":1,\"label\":\"Journals\",\"value\":5}\n"
            "{\"rec\":2,\"label\":\"Version\",\"value\":3}\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(LumctlDump, PicksTheLayoutFromTheFileNameInAnyCase) {
  file("RPP-3.DAT", test::Bytes()
                        .int16(10)
                        .int32(255)
                        .int32(0)
                        .int16(10)
                        .int16(195)
                        .int16(15)
                        .int16(270)
                        .text("Arial", 32)
                        .text("Tahoma", 32)
                        .text("Tahoma", 32)
                        .zeros(64));
  const Outcome run = lumctl({"--root", dir.path().string(), "dump", "rpp-3.dat"});
  EXPECT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.out,
            "{\"rec\":1,\"font_size\":10,\"box_colour\":255,\"text_colour\":0,\"left_margin\":10,"
            "\"right_edge\":195,\"top_margin\":15,\"bottom_limit\":270,"
            "\"font_names\":[\"Arial\",\"Tahoma\",\"Tahoma\",\"\",\"\"]}\n");

  const auto gst =
      file("GSTDate.dat", test::Bytes().raw({0, 0, 0, 0, 0, 0xBE, 0xE2, 0x40}).zeros(8));
  EXPECT_EQ(lumctl({"dump", gst}).out,
            "{\"rec\":1,\"date\":\"2005-02-01\"}\n{\"rec\":2,\"date\":\"\"}\n");
  const auto ent = file("Ent.dat", test::Bytes().text("  Caf\xE9 ", 32).zeros(274));
  EXPECT_EQ(
      lumctl({"dump", ent}).out.rfind("{\"rec\":1,\"name\":\"Caf\u00e9\",\"second_name_line\"", 0),
      0u);
}

TEST_F(LumctlDump, JournalFilesByTheirNames) {
  const auto jnl = file("JNL-0002.DAT",
                        test::Bytes().text("Petty Cash", 48).text("E", 1).int16(621).text("", 8));
  EXPECT_EQ(lumctl({"dump", jnl}).out,
            "{\"rec\":1,\"name\":\"Petty Cash\",\"type\":\"E\",\"contra_account\":621,"
            "\"date_transferred\":\"\"}\n");
  const auto an = file("An010002.dat", test::Bytes()
                                           .text("Postage", 23)
                                           .text("Y", 1)
                                           .text("E", 1)
                                           .raw({0xE0, 0xC8, 0x10, 0, 0, 0, 0, 0})
                                           .int16(408));
  EXPECT_EQ(lumctl({"dump", an}).out,
            "{\"rec\":1,\"name\":\"Postage\",\"gst_code\":\"Y\",\"account_type\":\"E\","
            "\"reserved\":\"110.0000\",\"ledgers_account\":408}\n");
  const auto ax = file("Ax010002.dat", test::Bytes().raw({0, 0, 0x20, 0x41}).zeros(4));
  EXPECT_EQ(lumctl({"dump", ax}).out,
            "{\"rec\":1,\"bas_classification\":10.0,\"exempt_ratio\":0.0}\n");
  // The templates are named otherwise: their layout is named on the command line.
  const auto tak = file(
      "Anstak.dat", test::Bytes().text("Sales", 23).text("Y", 1).text("S", 1).zeros(8).int16(201));
  EXPECT_EQ(lumctl({"dump", tak}).status, kExitRefused);
  EXPECT_EQ(lumctl({"dump", "--layout", "analysis-account", tak}).status, kExitSuccess);
}

TEST_F(LumctlDump, PeriodFilesAndTheBudget) {
  const auto lines =
      file("DC010001.dat",
           test::Bytes().text("03/08/05", 8).text("Fuel", 46).text("i17", 5).text("Y", 1).int16(1));
  EXPECT_EQ(lumctl({"dump", lines}).out,
            "{\"rec\":1,\"date\":\"03/08/05\",\"particulars\":\"Fuel\",\"reference\":\"i17\","
            "\"gst\":\"Y\",\"transferred\":1}\n");
  const auto totals = file("GC010001.dat", test::Bytes().raw8(-1100000));
  EXPECT_EQ(lumctl({"dump", totals}).out, "{\"rec\":1,\"total\":\"-110.0000\"}\n");
  const auto amounts = file("AC010001.dat", test::Bytes().raw8(0).raw8(10000).zeros(8 * 99));
  const Outcome run = lumctl({"dump", amounts});
  EXPECT_EQ(run.status, kExitSuccess);
  EXPECT_EQ(run.out.rfind("{\"rec\":1,\"amounts\":[\"0.0000\",\"1.0000\",\"0.0000\"", 0), 0u);
  const auto budget = file("Bdg-0001.dat", test::Bytes().zeros(416));
  EXPECT_EQ(lumctl({"dump", budget}).status, kExitSuccess);
}

TEST_F(LumctlDump, InvoiceFiles) {
  test::Bytes header;
  header.float32(0).float32(1);
  for (int i = 2; i <= 40; ++i) {
    header.float32(0);
  }
  header.int16(2).text("03/08/05", 10).zeros(20).raw8(1100000).raw8(100000).zeros(24).int16(99);
  const Outcome invoices = lumctl({"dump", file("INV-0001.DAT", header)});
  EXPECT_EQ(invoices.status, kExitSuccess) << invoices.err;
  EXPECT_EQ(invoices.out.rfind("{\"rec\":1,\"detail_numbers\":[0.0,1.0,0.0,", 0), 0u);
  EXPECT_NE(invoices.out.find("\"customer\":2,\"date\":\"03/08/05\",\"date_paid\":\"\","
                              "\"date_due\":\"\",\"total\":\"110.0000\",\"gst\":\"10.0000\","
                              "\"amount_paid\":\"0.0000\",\"discount\":\"0.0000\","
                              "\"written_off\":\"0.0000\",\"in_use\":99}"),
            std::string::npos)
      << invoices.out;
  EXPECT_EQ(lumctl({"dump", file("InD-0001.dat", test::Bytes()
                                                     .int16(3)
                                                     .text("Widgets", 72)
                                                     .float32(2)
                                                     .raw8(500000)
                                                     .text("y", 1)
                                                     .raw8(1100000)
                                                     .int16(99))})
                .out,
            "{\"rec\":1,\"product_code\":3,\"particulars\":\"Widgets\",\"quantity\":2.0,"
            "\"unit_price\":\"50.0000\",\"gst\":\"y\",\"amount\":\"110.0000\",\"in_use\":99}\n");
  EXPECT_EQ(
      lumctl({"dump", file("Cus-0001.dat", test::Bytes().text("Harbour Cafe", 48).zeros(241))}).out,
      "{\"rec\":1,\"name\":\"Harbour Cafe\",\"second_name\":\"\",\"address_1\":\"\","
      "\"address_2\":\"\",\"town\":\"\",\"state\":\"\",\"postcode\":\"\",\"telephone\":\"\","
      "\"contact\":\"\",\"in_use\":0}\n");
  EXPECT_EQ(
      lumctl({"dump", file("Prd-0001.dat",
                           test::Bytes().text("Delivery", 72).raw8(250000).text("n", 1).int16(99))})
          .out,
      "{\"rec\":1,\"description\":\"Delivery\",\"unit_price\":\"25.0000\",\"gst\":\"n\","
      "\"in_use\":99}\n");
}

TEST_F(LumctlDump, TheLayoutOptionOverridesTheName) {
  const auto path = file("copy.bin", test::Bytes().int16(7).int16(-1));
  const Outcome run = lumctl({"dump", "--layout", "OperProf", path});
  EXPECT_EQ(run.out, "{\"rec\":1,\"value\":7}\n{\"rec\":2,\"value\":-1}\n");
  EXPECT_EQ(lumctl({"dump", "--layout", "operator-profile", path}).out, run.out);
}

TEST_F(LumctlDump, BadFilesAreToldAndTheReadableRecordsStillPrinted) {
  const auto partial = file("Entcoun.dat", test::Bytes().text("", 24).int16(2).raw({1, 2, 3}));
  Outcome run = lumctl({"dump", partial});
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.out, "{\"rec\":1,\"label\":\"\",\"value\":2}\n");
  EXPECT_NE(run.err.find("not a whole number of 26-byte counter records"), std::string::npos);

  // Record 2's top is not a number; records 1 and 3 are fine.
  const auto nan =
      file("ScrLoc.Dat", test::Bytes().zeros(8).raw({0, 0, 0xC0, 0x7F}).zeros(4).zeros(8));
  run = lumctl({"dump", nan});
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.out,
            "{\"rec\":1,\"top\":0.0,\"left\":0.0}\n{\"rec\":3,\"top\":0.0,\"left\":0.0}\n");
  EXPECT_NE(run.err.find("record 2 cannot be read: field top is not a number"), std::string::npos);

  run = lumctl({"dump", file("notes.txt", test::Bytes().text("x", 3))});
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_NE(run.err.find("no record layout is known for"), std::string::npos);

  run = lumctl({"dump", (dir / "Ent.dat").string()});
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_NE(run.err.find("Ent.dat"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "Ent.dat"));  // dumping never creates a file
}

TEST_F(LumctlDump, UsageErrorsAndHelp) {
  EXPECT_EQ(lumctl({}).status, kExitUsage);
  EXPECT_EQ(lumctl({"dump"}).status, kExitUsage);
  EXPECT_EQ(lumctl({"dump", "--layout", "nonsense", "x.dat"}).status, kExitUsage);
  EXPECT_EQ(lumctl({"--operator", "abc", "dump", "x.dat"}).status, kExitUsage);
  EXPECT_EQ(lumctl({"dump", "x.dat", "--root", "."}).status,
            kExitUsage);  // global options go first
  const Outcome help = lumctl({"dump", "--help"});
  EXPECT_EQ(help.status, kExitSuccess);
  EXPECT_NE(help.out.find("--layout"), std::string::npos);
  EXPECT_EQ(lumctl({"--help"}).status, kExitSuccess);
}

TEST_F(LumctlDump, PageCommandAndTextFiles) {
  const auto commandFile = file("DosyaYaz.dat", test::Bytes()
                                                    .text("Page", 4)
                                                    .float32(1001)
                                                    .float32(1002)
                                                    .raw8(0)
                                                    .float32(0)
                                                    .float32(0)
                                                    .text("Para", 4)
                                                    .float32(150)
                                                    .float32(2)
                                                    .raw8(-12345000)
                                                    .float32(0.5f)
                                                    .float32(0));
  const auto commands = lumctl({"dump", commandFile});
  EXPECT_EQ(commands.status, kExitSuccess) << commands.err;
  EXPECT_EQ(commands.out,
            "{\"rec\":1,\"code\":\"Page\",\"a\":1001.0,\"b\":1002.0,\"c\":\"0.0000\",\"d\":0.0,"
            "\"e\":0.0}\n"
            "{\"rec\":2,\"code\":\"Para\",\"a\":150.0,\"b\":2.0,\"c\":\"-1234.5000\",\"d\":0.5,"
            "\"e\":0.0}\n");
  EXPECT_EQ(lumctl({"dump", file("Kelamlar.dat", test::Bytes().text("Total", 140))}).out,
            "{\"rec\":1,\"text\":\"Total\"}\n");
}

}  // namespace
}  // namespace lum
