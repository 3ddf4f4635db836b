// Writes the seed corpus of every fuzz target from files the programs and
// the tests' fixtures make:
//
//   fuzz_seed_maker fuzz/corpus
//
// Each seed is named for what it holds; inputs kept from findings sit
// beside them under their own names and are left alone.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/record_file.h"
#include "post/invoicing/invoice_records.h"
#include "post/journals/journal_files.h"
#include "post/ledgers/ledger_records.h"
#include "post/render/page_records.h"
#include "post/render/page_writer.h"
#include "post/render/text_page_device.h"
#include "post/render/yazan.h"
#include "tests/post/journals/journal_fixture.h"
#include "tests/utils/utils_fixture.h"
#include "utils/mail_settings.h"
#include "utils/storage.h"
#include "utils/utils_records.h"

namespace lum::fuzz {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::byte>;

void writeSeed(const fs::path& folder, const std::string& name, const Bytes& bytes) {
  fs::create_directories(folder);
  test::writeBytes(folder / name, bytes);
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

Bytes withLead(std::uint8_t lead, const Bytes& rest) {
  return concat({Bytes{static_cast<std::byte>(lead)}, rest});
}

InputFile fileOf(const fs::path& path) {
  return fs::exists(path) ? InputFile{true, test::readBytes(path)} : InputFile{false, {}};
}

// One seed per layout: the layout's index (as the target numbers them),
// then records of that layout.
void recordSeeds(const fs::path& folder) {
  test::JournalParts journal;
  const fs::path area = journal.area();
  test::UtilsParts utils;
  utils.fillWorkArea();
  utils.session.start();
  Storage storage(utils.session);
  storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk);
  utils.session.saveFolder(SavedFolder::CurrentYear, ".\\Ent-1\\zip\\");
  utils.session.saveFolder(SavedFolder::Email, ".\\Ent-1\\Email\\");

  const auto date = OleDate::of(*Date::fromYmd(2026, 7, 1));
  ReportPrintSettings print;
  print.fontSize = 11;
  print.boxColour = 0xD9D9D9;
  print.leftMargin = 12;
  print.topMargin = 15;
  print.bottomLimit = 265;
  print.fontNames = {"Arial", "Arial", "Times New Roman", "", "Courier New"};
  OperatorRecord oper;
  oper.text1 = "Operator";
  oper.kind = OperatorRecord::kRestrictedKind;
  BudgetRecord budget;
  budget.budgetedSales[1] = Currency::fromCents(1250000);
  budget.actualSales[1] = Currency::fromCents(1175050);
  budget.actualCostOfSales[12] = Currency::fromCents(-3300);
  PageCommandRecord command{"Yazz", 1, 10, Currency::fromCents(100), 0, 0};
  MailSettingsRecord mail{"mail.example.com.au",
                          "587",
                          "smith",
                          "secret",
                          "Smith Plumbing",
                          "office@smith.example",
                          "Accountant",
                          "books@acct.example",
                          1};

  InvoiceRecord invoice;
  invoice.detailNumbers[1] = 1;
  invoice.customer = 1;
  invoice.date = "05/08/2026";
  invoice.dateDue = "05/09/26";
  invoice.total = Currency::fromCents(11000);
  invoice.gst = Currency::fromCents(1000);
  invoice.inUse = kInUse;
  InvoiceLineRecord line{
      1, "Tap washers", 2.0f, Currency::fromCents(5000), "y", Currency::fromCents(11000), kInUse};
  CustomerRecord customer;
  customer.texts = {"Harbour Cafe", "", "1 Wharf St", "", "Hobart", "TAS", "7000", "", ""};
  customer.inUse = kInUse;

  LedgerClientRecord ledgerClient;
  ledgerClient.name = "Smith Plumbing";
  ledgerClient.secondNameLine = "Pty Ltd";
  ledgerClient.chartKind = 3;
  LedgerAccountRecord ledgerAccount;
  ledgerAccount.name = "Cash at Bank";
  ledgerAccount.balance = Currency::fromCents(123456);
  ledgerAccount.firstEntry = 1;
  ledgerAccount.lastEntry = 9;
  LedgerCountersRecord ledgerCounters;
  ledgerCounters.entries = ledgerCounters.entriesAgain = 9;
  ledgerCounters.version = LedgerCountersRecord::kDataVersion;

  const std::vector<std::pair<std::string, Bytes>> layouts = {
      {"counter-entcoun", test::readBytes(area / "Entcoun.dat")},
      {"entity-ent", test::readBytes(area / "Ent.dat")},
      {"setup-ini", test::readBytes(area / "Ini-0001.dat")},
      {"gst-date", GstDateRecord{date}.encode()},
      {"window-position",
       concat({WindowPositionRecord{1200, 2400}.encode(), WindowPositionRecord{0, 0}.encode()})},
      {"font-name", FontNameRecord{"Arial"}.encode()},
      {"report-print-settings", print.encode()},
      {"operator", oper.encode()},
      {"operator-profile",
       concat({OperatorProfileRecord{1}.encode(), OperatorProfileRecord{-1}.encode()})},
      {"journal-header-jnl", test::readBytes(area / "Jnl-0001.dat")},
      {"analysis-account-an", test::readBytes(area / "An010001.dat")},
      {"analysis-extra",
       concat({AnalysisExtraRecord{7, 0}.encode(), AnalysisExtraRecord{11, 0.25f}.encode()})},
      {"transaction-d", test::readBytes(area / "DI010001.dat")},
      {"amounts-a", test::readBytes(area / "AI010001.dat")},
      {"column-total-g", test::readBytes(area / "GI010001.dat")},
      {"budget", budget.encode()},
      {"page-command", concat({PageCommandRecord{"Page", 1001, 1003, Currency(), 0, 0}.encode(),
                               command.encode()})},
      {"page-text", PageTextRecord{"Smith Plumbing Pty Ltd"}.encode()},
      {"stored-entity-enlist", test::readBytes(utils.store() / "EnList.Dat")},
      {"folder-zippath", test::readBytes(utils.area() / "ZipPath.Cfg")},
      {"mail-settings", mail.encode()},
      {"invoice", invoice.encode()},
      {"invoice-line", concat({line.encode(), InvoiceLineRecord{}.encode()})},
      {"customer", customer.encode()},
      {"product", ProductRecord{"Tap washer", Currency::fromCents(450), "y", kInUse}.encode()},
      {"ledger-client", ledgerClient.encode()},
      {"ledger-account", ledgerAccount.encode()},
      {"ledger-entry",
       LedgerEntryRecord{"30/06/26", 621, 0, 31, {}, Currency::fromCents(11000), 1, 0, 0, 1, {}}
           .encode()},
      {"ledger-journal", LedgerJournalRecord{"GJ", "Being automatic posting", 1, 4}.encode()},
      {"ledger-comment", LedgerCommentRecord{"Harbour Cafe", 1}.encode()},
      {"ledger-counters", ledgerCounters.encode()},
      {"account-number",
       concat({AccountNumberRecord{301}.encode(), AccountNumberRecord{2}.encode()})},
  };
  for (std::size_t i = 0; i < layouts.size(); ++i) {
    writeSeed(folder, layouts[i].first, withLead(static_cast<std::uint8_t>(i), layouts[i].second));
  }
}

// The journal target's first byte: posting mode, period kind, period.
std::uint8_t journalChoice(bool otherBusiness, bool quarterly, int periodIndex) {
  return static_cast<std::uint8_t>((otherBusiness ? 1 : 0) | (quarterly ? 2 : 0) |
                                   (periodIndex << 2));
}

Bytes journalInput(const JournalFiles& files) {
  std::vector<InputFile> inputs;
  for (const char* name : {"GrdRecs", "GrdAms", "GstPers", "An", "Ax", "Butce"}) {
    inputs.push_back(fileOf(files.path(name)));
  }
  return joinFiles(inputs);
}

void journalSeeds(const fs::path& folder) {
  {
    // The fixture's journal in the September quarter ("I") and the June one ("F").
    test::JournalParts parts;
    writeSeed(
        folder, "quarter-i-two-rows",
        withLead(journalChoice(false, true, 2), journalInput(JournalFiles(parts.session, 1))));
    parts.session.login.periodLetter = 'F';
    writeSeed(
        folder, "quarter-f-one-row",
        withLead(journalChoice(false, true, 1), journalInput(JournalFiles(parts.session, 1))));
  }
  {
    // A journal of an other business, saved by the program in August ("B").
    test::JournalParts parts;
    Session& session = parts.session;
    session.login.setup.postingMode = PostingMode::OtherBusiness;
    session.login.setup.periodKind = "M";
    session.login.periodLetter = 'B';
    JournalFiles files(session, 1);
    Journal journal = files.load();
    const auto dollars = [](long long value) { return Currency::fromCents(value * 100); };
    journal.rowsInUse = 3;
    journal.lastColumnInUse = 8;
    journal.row(1) = {"01/08/26", "Opening balance", "", "", 0};
    journal.row(2) = {"03/08/26", "Plumbing supplies", "104", "Y", 0};
    journal.row(3) = {"09/08/26", "Invoice 17", "i17", "Y", 1};
    journal.am(2, 4) = dollars(220);
    journal.am(2, 7) = dollars(200);
    journal.am(2, 8) = dollars(20);
    journal.am(3, 5) = dollars(330);
    journal.am(3, 7) = dollars(-330);
    journal.column(7).name = "Materials";
    journal.column(8).name = "GST Paid";
    journal.column(8).gstCode = "T";
    journal.column(7).basClassification = 11;
    journal.column(7).exemptRatio = 0.5f;
    journal.budget.budgetedSales = dollars(5000);
    journal.budget.actualSales = dollars(4200);
    journal.computeRowBalances();
    files.save(journal);
    writeSeed(folder, "month-b-other-business",
              withLead(journalChoice(true, false, 1), journalInput(files)));
  }
}

// A short report that uses every page command once, recorded by the page
// commands themselves.
void writeShortReport(Yazan& y) {
  const PageWriter page(y);
  y.setNextDevice(OutputDevice::Recording);
  y.BeginOutput();
  page.millimetreScale();
  page.scaleMode(ScaleMode::Millimetres);
  page.beginPage();
  page.orientation(Orientation::Portrait);
  page.clearPage();
  page.bold();
  page.size(14);
  page.moveTo(10, 15);
  page.text(10, "Smith Plumbing Pty Ltd", Align::Left);
  page.size(10);
  page.regular();
  page.text(195, "Page 1", Align::Right);
  page.newLine();
  page.font("Times New Roman");
  page.italic();
  page.underline();
  page.strikeOut();
  page.text(10, "Styled", Align::Left);
  page.noStrikeOut();
  page.noUnderline();
  page.upright();
  page.font("Arial");
  page.textColour(rgb(200, 0, 0));
  page.amount(120, Currency::fromCents(123456789), AmountStyle::DollarsAndCents);
  page.textColour(kBlack);
  page.amount(160, Currency::fromCents(-250000), AmountStyle::WholeDollars);
  page.amount(195, Currency(), AmountStyle::DollarSignWhole);
  page.newLine();
  page.tabTo(10);
  page.lineWidth(2);
  page.thickRule(120, 195);
  page.rule(10, 60);
  page.doubleRule(120, 195);
  page.fillBoxes();
  page.box(10, 60, 60, 70, ReportColour::LightGrey);
  page.boxFillColour(0xF0E0D0);
  page.printSettingsBox(70, 60, 120, 70);
  page.openBoxes();
  page.headingBox(130, 60, 180, 70);
  page.verticalRule(80, 100);
  page.line(10, 80, 90, 100);
  page.line(10, 100, 90, 80, ReportColour::LightBlue);
  page.point(95, 90, ReportColour::Black);
  page.picture("logo.png", 150, 80, 30, 20);
  page.text(10, "Position " + std::to_string(page.position(Axis::Vertical)), Align::Left);
  page.endPage();
  page.beginPage();
  page.orientation(Orientation::Landscape);
  page.text(270, "A wide page", Align::Right);
  page.newLine();
  page.endPage();
  page.endReport();
}

void pageSeeds(const fs::path& folder) {
  test::TempDir dir;
  FileOps ops;
  ScriptedPrompter prompter;
  {
    RecordFile commands(ops, dir / "DosyaYaz.dat", PageCommandRecord::kSize);
    RecordFile texts(ops, dir / "Kelamlar.dat", PageTextRecord::kSize);
    std::ostringstream listing;
    FixedTextMetrics metrics;
    TextPageDevice screen(listing, metrics);
    Yazan yazan(ops, prompter);
    yazan.attachFiles(&commands, &texts);
    yazan.setScreen(&screen);
    writeShortReport(yazan);
  }
  const Bytes commands = test::readBytes(dir / "DosyaYaz.dat");
  const Bytes texts = test::readBytes(dir / "Kelamlar.dat");
  const auto headerEnd = commands.begin() + 3 * PageCommandRecord::kSize;  // two pages and "END"
  const auto commandsStart =
      commands.begin() +
      static_cast<std::ptrdiff_t>(PageFiles::kHeaderRecords * PageCommandRecord::kSize);
  const InputFile headers{true, Bytes(commands.begin(), headerEnd)};
  const InputFile pageCommands{true, Bytes(commandsStart, commands.end())};

  ReportPrintSettings print;
  print.fontSize = 12;
  print.textColour = 0x336699;
  print.leftMargin = 15;
  print.bottomLimit = 250;
  print.fontNames = {"", "Times New Roman", "", "Arial", ""};
  writeSeed(folder, "two-pages",
            withLead(0, joinFiles({headers, pageCommands, {true, texts}, {false, {}}})));
  writeSeed(folder, "two-pages-with-settings",
            withLead(0, joinFiles({headers, pageCommands, {true, texts}, {true, print.encode()}})));
  // The command file as it stands, cut short inside its page headers.
  writeSeed(folder, "cut-in-the-headers",
            withLead(0x80, joinFiles({headers, {true, {}}, {true, texts}, {false, {}}})));
}

void utilsSeeds(const fs::path& folder) {
  test::UtilsParts parts;
  parts.fillWorkArea();
  parts.session.start();
  Storage storage(parts.session);
  storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk);
  parts.fillWorkArea("Jones Electrical", "");
  storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk);
  parts.session.saveFolder(SavedFolder::CurrentYear, ".\\Ent-1\\zip\\");
  parts.session.saveFolder(SavedFolder::Email, ".\\Ent-1\\Email\\");
  parts.session.saveFolder(SavedFolder::PreviousYear, ".\\Ent-1\\zip\\pyear\\");
  saveMailSettings(
      parts.session,
      MailSettingsRecord{"mail.example.com.au", "587", "smith", "secret", "Smith Plumbing",
                         "office@smith.example", "Accountant", "books@acct.example", 0});
  const InputFile zipPath = fileOf(parts.area() / "ZipPath.Cfg");
  const InputFile count = fileOf(parts.store() / "UtCount.Dat");
  const InputFile list = fileOf(parts.store() / "EnList.Dat");
  const InputFile mail = fileOf(parts.area() / "MailDets.dat");
  writeSeed(folder, "two-stored-with-folders-and-mail", joinFiles({zipPath, count, list, mail}));
  writeSeed(folder, "two-stored-only", joinFiles({{false, {}}, count, list, {false, {}}}));
  writeSeed(folder, "folders-only", joinFiles({zipPath, {false, {}}, {false, {}}, {false, {}}}));
}

// A ledgers client of five accounts: account 2 has entries 1 and 3, account
// 3 entry 2, under one header; and the same with no entries at all.
void ledgerSeeds(const fs::path& folder) {
  const auto records = [](const auto& list) {
    InputFile file;
    for (const auto& record : list) {
      const auto bytes = record.encode();
      file.bytes.insert(file.bytes.end(), bytes.begin(), bytes.end());
    }
    return file;
  };
  LedgerCountersRecord counters;
  counters.version = LedgerCountersRecord::kDataVersion;
  std::vector<LedgerAccountRecord> accounts(5);
  accounts[1].name = "Cash at Bank";
  accounts[2].name = "Sales";
  const InputFile empty{true, {}};
  writeSeed(folder, "no-entries",
            joinFiles({records(std::vector{counters}), records(accounts), empty, empty, empty}));

  counters.entries = counters.entriesAgain = 3;
  counters.headers = counters.headersAgain = 1;
  counters.comments = counters.commentsAgain = 3;
  accounts[1].firstEntry = 1;
  accounts[1].lastEntry = 3;
  accounts[1].balance = Currency::fromCents(5000);
  accounts[2].firstEntry = accounts[2].lastEntry = 2;
  accounts[2].balance = Currency::fromCents(-5000);
  std::vector<LedgerEntryRecord> entries(3);
  for (int e = 0; e < 3; ++e) {
    entries[static_cast<std::size_t>(e)] = {
        "30/06/26", e == 1 ? 3 : 2, 0, e, {}, Currency::fromCents(e == 1 ? -5000 : 2500), e + 1,
        0,          e == 0 ? 3 : 0, 1, {}};
  }
  const std::vector<LedgerJournalRecord> headers = {{"GJ", "Opening", 1, 3}};
  const std::vector<LedgerCommentRecord> comments = {
      {"Opening", 1}, {"Opening", 2}, {"Opening", 3}};
  writeSeed(folder, "three-entries",
            joinFiles({records(std::vector{counters}), records(accounts), records(entries),
                       records(headers), records(comments)}));
}

// The zip target's listed entries: name length, name, data length, data.
Bytes listedInput(const std::vector<std::pair<std::string, std::string>>& entries) {
  Bytes out;
  for (const auto& [name, data] : entries) {
    out.push_back(static_cast<std::byte>(name.size()));
    for (const char c : name) {
      out.push_back(static_cast<std::byte>(c));
    }
    out.push_back(static_cast<std::byte>(data.size() & 0xFF));
    out.push_back(static_cast<std::byte>(data.size() >> 8));
    for (const char c : data) {
      out.push_back(static_cast<std::byte>(c));
    }
  }
  return out;
}

void zipSeeds(const fs::path& folder) {
  test::UtilsParts parts;
  parts.fillWorkArea();
  parts.session.start();
  Storage storage(parts.session);
  storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk);
  writeSeed(folder, "stored-work-area", test::readBytes(parts.store() / "LUM-1.Zip"));
  writeSeed(folder, "listed-plain",
            listedInput({{"Ent.dat", "Smith Plumbing"},
                         {"Jnl-0001.dat", "Takings Book"},
                         {"Entcoun.dat", std::string(78, ' ')},
                         {"notes.txt", "not a data file"}}));
  writeSeed(folder, "listed-older-with-folders",
            listedInput({{"Ent-1\\Op-3\\Ent.dat", "entity"},
                         {"sub/x.dat", "x"},
                         {"other/X.DAT", "y"},
                         {"sub/", ""}}));
  writeSeed(folder, "listed-unsafe-names",
            listedInput({{"../escape.dat", "up"},
                         {"/tmp/absolute.dat", "root"},
                         {"C:evil.dat", "drive"},
                         {"tab\there.dat", "control"},
                         {"ok.dat", "fine"}}));
}

}  // namespace
}  // namespace lum::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  using namespace lum::fuzz;
  const std::filesystem::path corpus = argv[1];
  recordSeeds(corpus / "record_layouts");
  journalSeeds(corpus / "journal_load");
  pageSeeds(corpus / "page_files");
  utilsSeeds(corpus / "utils_lists");
  zipSeeds(corpus / "zip_archive");
  ledgerSeeds(corpus / "ledger_book");
  return 0;
}
