#include "post/login/entity_setup.h"

#include <gtest/gtest.h>

#include "platform/scripted_prompter.h"
#include "post/login/detail_panels.h"
#include "post/login/journal_records.h"
#include "post/login/list_panels.h"
#include "post/login/login_records.h"
#include "post/login/window_dispatch.h"
#include "post/login/work_area.h"
#include "tests/post/login/fake_host.h"
#include "tests/post/login/session_fixture.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/crash_points.h"
#include "tests/support/records.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// An analysis template of one account.
test::Bytes templateOf(const char* account) {
  return test::Bytes().text(account, 23).text("Y", 1).text("E", 1).zeros(8).int16(400);
}

class EntitySetUpTest : public ::testing::Test, protected test::SessionParts {
 protected:
  EntitySetUpTest() {
    test::writeBytes(prog() / "Anstak.dat", templateOf("Cash Sales"));
    test::writeBytes(prog() / "Anspay.dat", templateOf("Purchases"));
    test::writeBytes(prog() / "Anljnl.dat", templateOf("Bank Fees"));
    test::writeBytes(prog() / "Anlpch.dat", templateOf("Postage"));
    // BAS labels of the bank journal's accounts: none, then capital purchases (10).
    test::writeBytes(prog() / "Axljnl.dat",
                     test::Bytes().zeros(8).raw({0, 0, 0x20, 0x41}).zeros(4));
    session.setHost(host);
  }

  template <class Record>
  Record record(const char* file, int number) {
    return test::recordOf<Record>(area() / file, number);
  }

  // Types the texts into the entity details, sets the choices and presses OK.
  void describeEntity(const std::vector<std::string>& texts, EntityChoices choices) {
    ASSERT_EQ(session.currentWindow, kEntityDetails);
    InputPanel& details = *session.panel(kEntityDetails);
    for (std::size_t box = 0; box < texts.size(); ++box) {
      details.focusGained(static_cast<int>(box));
      details.textEdited(static_cast<int>(box), texts[box]);
    }
    session.entityChoices = choices;
    acceptAndClose(session);
  }

  test::FakeHost host;
};

TEST_F(EntitySetUpTest, ASmallCashBusinessWithInvoicingOnTheFirstStart) {
  prompter.then(Answer::Yes);
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  describeEntity({"Smith Plumbing", "Pty Ltd"}, {false, false, true, false});
  EXPECT_TRUE(host.ended);  // the first entity's set-up ends the program

  EXPECT_EQ(record<EntityRecord>("Ent.dat", 1).name, "Smith Plumbing");
  const auto journal = [&](int n) { return record<JournalHeaderRecord>("Jnl-0001.dat", n); };
  EXPECT_EQ(journal(2).type, "E");
  EXPECT_EQ(journal(3).name, "Invoices Book");
  EXPECT_EQ(journal(3).contraAccount, 628);
  EXPECT_EQ(record<CounterRecord>("Lcn-0001.dat", 1).value, 3);
  EXPECT_EQ(fs::file_size(area() / "Lcn-0001.dat"), 6u * 26);

  const auto debtors = record<AnalysisAccountRecord>("An010001.dat", 1);
  EXPECT_EQ(debtors.name, "Debtors");
  EXPECT_EQ(debtors.ledgersAccount, 638);
  EXPECT_EQ(record<AnalysisAccountRecord>("An020001.dat", 1).name, "Purchases");
  EXPECT_EQ(record<AnalysisAccountRecord>("An030001.dat", 1).accountType, "A");

  const std::vector<std::pair<const char*, const char*>> setup = {
      {"Posting Mode 0 or 3", "0"},
      {"M-Monthly or Q-Quarterly", "M"},
      {"A-Accountant C-Client Type", "C"},
      {"GSTRate", ".1"},
      {"PAYG Rate", "0"},
      {"Mixed Bus Exempt Sales Ratio", "0"},
      {"Mixed Bus Exempt Purch Ratio", "0"},
      {"Setup Invoicing Y/N", "Y"},
      {"GST Type C-Cash A-Accruals", "C"}};
  for (std::size_t i = 0; i < setup.size(); ++i) {
    const auto value = record<SetupRecord>("Ini-0001.dat", static_cast<int>(i) + 1);
    EXPECT_EQ(value.prompt, setup[i].first);
    EXPECT_EQ(value.value, setup[i].second) << setup[i].first;
  }
  EXPECT_EQ(test::readBytes(area() / "Bdg-0001.dat"), std::vector<std::byte>(416));
  EXPECT_EQ(fs::file_size(area() / "Ax010001.dat"), 800u);
  EXPECT_EQ(record<CounterRecord>("Entcoun.dat", 2).value, 1);
}

TEST_F(EntitySetUpTest, AnOtherBusinessWithoutInvoicingAddedFromTheEntitiesList) {
  test::writeOneEntityWorkArea(area());
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  openWindow(session, kEntitiesList);
  InputPanel& entities = *session.panel(kEntitiesList);
  entities.focusGained(1);
  entities.textEdited(1, "Jones Cafe");
  openLineDetails(session, kEntitiesList);
  describeEntity({"Jones Cafe"}, {true, true, false, true});
  EXPECT_FALSE(host.ended);
  EXPECT_EQ(session.currentWindow, kEntitiesList);
  EXPECT_EQ(session.login.entityNumber, 1);  // the current entity stays
  EXPECT_EQ(session.login.firstTimeFlag, 'C');

  EXPECT_EQ(record<JournalHeaderRecord>("Jnl-0002.dat", 1).contraAccount, 622);
  EXPECT_EQ(record<JournalHeaderRecord>("Jnl-0002.dat", 2).name, "Petty Cash");
  EXPECT_EQ(fs::file_size(area() / "Jnl-0002.dat"), 2u * 59);
  EXPECT_EQ(record<AnalysisAccountRecord>("An020002.dat", 1).name, "Postage");
  EXPECT_FALSE(fs::exists(area() / "An030002.dat"));
  EXPECT_EQ(record<AnalysisExtraRecord>("Ax010002.dat", 2).basClassification, 10.0f);
  EXPECT_EQ(record<SetupRecord>("Ini-0002.dat", 1).value, "3");
  EXPECT_EQ(record<SetupRecord>("Ini-0002.dat", 9).value, "A");
  EXPECT_EQ(entities.boxText(1), "Jones Cafe");
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(EntitySetUpTest, AnEntityWithJournalsOnlyChangesItsSetUpLetters) {
  test::writeOneEntityWorkArea(area());
  test::writeSetup(area(), {"0", "M"});
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  const auto journalsBefore = test::readBytes(area() / "Jnl-0001.dat");
  openWindow(session, kEntitiesList);
  openLineDetails(session, kEntitiesList);
  EXPECT_FALSE(session.entityChoices.quarterly);  // as the entity stands
  EXPECT_EQ(session.panel(kEntityDetails)->boxText(0), "Smith Plumbing");
  describeEntity({}, {false, true, false, false});  // monthly to quarterly
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{
                "Please not that this action will not re set the client.  To recreate the "
                "journals, you need to clear all and set the client as new."});
  EXPECT_EQ(record<SetupRecord>("Ini-0001.dat", 2).value, "Q");
  EXPECT_EQ(record<SetupRecord>("Ini-0001.dat", 1).value, "0");
  EXPECT_EQ(test::readBytes(area() / "Jnl-0001.dat"), journalsBefore);
  EXPECT_FALSE(fs::exists(area() / "Bdg-0001.dat") && fs::file_size(area() / "Bdg-0001.dat") > 0);
}

TEST_F(EntitySetUpTest, SetUpLettersAreTheFirstLetterOfWhatWasTyped) {
  test::writeOneEntityWorkArea(area());
  test::writeSetup(area(), {"3", " quarterly", "client", ".1", "0", "0", "0", "yes", "Accruals"});
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  EXPECT_EQ(session.login.setup.periodKind, "Q");
  const EntityChoices choices = readEntityChoices(session);
  EXPECT_TRUE(choices.otherBusiness);
  EXPECT_TRUE(choices.quarterly);
  EXPECT_TRUE(choices.invoicing);
  EXPECT_TRUE(choices.accruals);
}

TEST_F(EntitySetUpTest, ThePostingModeStaysWhileTheJournalsHoldRows) {
  test::writeOneEntityWorkArea(area());
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  // Journal 2 holds one row in the June quarter.
  test::writeBytes(area() / "AF020001.dat", test::Bytes().raw8(0).raw8(10000).raw8(50000));
  const char* refusal =
      "The posting mode cannot change while the entity's journals hold transactions: their "
      "amounts would move two columns. Clear the journals first, or set the client up as a new "
      "entity.";

  openWindow(session, kEntitiesList);
  openLineDetails(session, kEntitiesList);
  describeEntity({}, {true, true, false, false});  // to posting mode 3
  EXPECT_EQ(prompter.texts().front(), refusal);
  EXPECT_EQ(record<SetupRecord>("Ini-0001.dat", 1).value, "0");
  EXPECT_EQ(record<SetupRecord>("Ini-0001.dat", 2).value, "Q");  // the rest is stored

  prompter.clear();
  openWindow(session, kConfiguration);
  InputPanel& configuration = *session.panel(kConfiguration);
  configuration.focusGained(1);
  configuration.textEdited(1, "3");
  configuration.keyDown(PanelKey::Enter, false);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{refusal});
  EXPECT_EQ(record<SetupRecord>("Ini-0001.dat", 1).value, "0");
  EXPECT_EQ(configuration.boxText(1), "0");
  closeWindow(session);

  // Without rows the change goes through.
  fs::remove(area() / "AF020001.dat");
  prompter.clear();
  openWindow(session, kConfiguration);
  session.panel(kConfiguration)->focusGained(1);
  session.panel(kConfiguration)->textEdited(1, "3");
  session.panel(kConfiguration)->keyDown(PanelKey::Enter, false);
  EXPECT_EQ(record<SetupRecord>("Ini-0001.dat", 1).value, "3");
  EXPECT_TRUE(prompter.texts().empty());
}

// Entity 2 of a one-entity work area is described as new: its details, its
// set-up, journals, accounts, counters and budget are written at once.
TEST_F(EntitySetUpTest, ANewEntitysDetailsAreStoredWholeOrNotAtAll) {
  test::writeOneEntityWorkArea(area());
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  addEntity(session, "Jones Cafe");
  EntityTexts texts;
  texts[0] = "Jones Cafe";
  texts[1] = "Newtown";
  ASSERT_EQ(session.rollbackFolder(), area() / "Rollback");
  const test::CutWriter writer = test::workAreaWriter(ops, area(), [&] {
    storeEntityDetails(session, 2, texts, {true, true, true, false});
  });

  const test::CutOutcome stopped = test::stopAtEveryOperation(ops, writer);
  EXPECT_EQ(stopped.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(stopped.cuts, 50);
  EXPECT_EQ(stopped.after.count("Jnl-0002.dat"), 1u);

  const test::CutOutcome failed = test::failAtEveryOperation(ops, Failure::NoSpace, writer);
  EXPECT_EQ(failed.torn, std::vector<std::uint64_t>{});
  EXPECT_EQ(session.login.entityNumber, 1);  // the log-in is the entity's as before
  EXPECT_EQ(session.file("Jnl").path(), area() / "Jnl-0001.dat");
}

TEST_F(EntitySetUpTest, MissingTemplatesComeBackFromTheirCopiesOrAreTold) {
  fs::rename(prog() / "Anstak.dat", prog() / "ANSTAK.BAK");
  fs::remove(prog() / "Anspay.dat");
  prompter.then(Answer::Yes);
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  describeEntity({"Smith Plumbing"}, {false, false, false, false});
  EXPECT_TRUE(fs::exists(prog() / "Anstak.dat"));
  EXPECT_EQ(record<AnalysisAccountRecord>("An010001.dat", 1).name, "Cash Sales");
  EXPECT_FALSE(fs::exists(area() / "An020001.dat"));
  ASSERT_EQ(prompter.texts().size(), 3u);
  EXPECT_EQ(prompter.texts()[1],
            "The analysis template Anspay.dat cannot be found, nor its .bak copy. The journals "
            "that use it start without analysis accounts.");
  EXPECT_EQ(prompter.texts()[2], "LumPost closes now. Start it again to open Smith Plumbing.");
  EXPECT_EQ(record<CounterRecord>("Lcn-0001.dat", 1).value, 2);
}

TEST_F(EntitySetUpTest, EntityAndJournalDetailsKeepToTheirFields) {
  test::writeOneEntityWorkArea(area());
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  // An empty name keeps the window open and changes nothing.
  openWindow(session, kEntitiesList);
  openLineDetails(session, kEntitiesList);
  InputPanel& details = *session.panel(kEntityDetails);
  details.focusGained(0);
  details.textEdited(0, "  ");
  acceptAndClose(session);
  EXPECT_EQ(session.currentWindow, kEntityDetails);
  details.textEdited(0, std::string(200, 'N'));
  acceptAndClose(session);
  EXPECT_EQ(record<EntityRecord>("Ent.dat", 1).name, std::string(32, 'N'));
  EXPECT_EQ(record<EntityRecord>("Ent.dat", 1).secondNameLine, "Pty Ltd");
  closeWindow(session);

  // Journal details: a type of "x" becomes "E" when its line is left.
  openLineDetails(session, kJournalsList);
  InputPanel& journal = *session.panel(kJournalDetails);
  EXPECT_EQ(journal.boxText(0), "Takings Book");
  EXPECT_EQ(journal.boxText(2), "621");
  journal.focusGained(1);
  journal.textEdited(1, "x");
  journal.keyDown(PanelKey::Down, false);
  EXPECT_EQ(journal.boxText(1), "E");
  journal.textEdited(2, "699");
  acceptAndClose(session);
  const auto header = record<JournalHeaderRecord>("Jnl-0001.dat", 1);
  EXPECT_EQ(header.type, "E");
  EXPECT_EQ(header.contraAccount, 699);
  EXPECT_EQ(header.name, "Takings Book");
  EXPECT_EQ(session.currentWindow, kJournalsList);
}

TEST_F(EntitySetUpTest, TheAccountAndConfigurationListsEditTheirRecords) {
  test::writeOneEntityWorkArea(area());
  test::writeBytes(area() / "An010001.dat", templateOf("Cash Sales"));
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);

  // Journal details, then its accounts: the type and GST letters in one box.
  openLineDetails(session, kJournalsList);
  openWindow(session, kAccountList);
  InputPanel& accounts = *session.panel(kAccountList);
  EXPECT_EQ(accounts.boxText(0), "Cash Sales");
  EXPECT_EQ(accounts.boxText(1), "EY");
  accounts.focusGained(1);
  accounts.textEdited(1, "sn");
  accounts.keyDown(PanelKey::Enter, false);
  const auto account = record<AnalysisAccountRecord>("An010001.dat", 1);
  EXPECT_EQ(account.accountType, "S");
  EXPECT_EQ(account.gstCode, "N");
  EXPECT_EQ(account.ledgersAccount, 400);
  closeWindow(session);
  EXPECT_FALSE(session.registry().isOpen("An"));
  closeWindow(session);

  // The configuration list shows the set-up records of the entity chosen in the entities list.
  test::writeSetup(area(), {"3"}, 2);
  openWindow(session, kEntitiesList);
  addEntity(session, "Jones Cafe");
  session.panel(kEntitiesList)->redraw();
  session.panel(kEntitiesList)->keyDown(PanelKey::Down, false);
  openWindow(session, kConfiguration);
  InputPanel& configuration = *session.panel(kConfiguration);
  EXPECT_EQ(configuration.boxText(0), "Posting Mode 0 or 3");
  EXPECT_EQ(configuration.boxText(1), "3");
  configuration.focusGained(1);
  configuration.textEdited(1, "0");
  configuration.keyDown(PanelKey::Enter, false);
  EXPECT_EQ(record<SetupRecord>("Ini-0002.dat", 1).value, "0");
  closeWindow(session);
  EXPECT_EQ(session.login.entityNumber, 1);
  EXPECT_EQ(session.file("Jnl").path(), area() / "Jnl-0001.dat");
  EXPECT_TRUE(prompter.texts().empty());
}

}  // namespace
}  // namespace lum
