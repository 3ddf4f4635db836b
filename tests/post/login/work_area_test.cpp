#include "post/login/work_area.h"

#include <gtest/gtest.h>

#include "platform/scripted_prompter.h"
#include "post/login/journal_records.h"
#include "post/login/list_panels.h"
#include "post/login/login_records.h"
#include "post/login/main_commands.h"
#include "post/login/window_dispatch.h"
#include "tests/post/login/fake_host.h"
#include "tests/post/login/session_fixture.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/records.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// A program directory with the suite's files for group 1 and, when asked,
// a work area for operator 1 holding one quarterly entity with two journals.
class WorkAreaTest : public ::testing::Test, protected test::SessionParts {
 protected:
  WorkAreaTest() {
    test::writeText(prog() / "lum.ini", "Report=Account\r\n");
    test::writeBytes(prog() / "FontList.ini", test::Bytes().text("Tahoma", 32));
    fs::create_directories(dir / "System" / "Ent-1");
    session.setHost(host);
    session.login.systemDirectory = "..\\System\\Ent-1";
  }

  void makeEntity(int op = 1) { test::writeOneEntityWorkArea(area(op)); }

  test::FakeHost host;
};

TEST_F(WorkAreaTest, AWorkAreaWithAnEntityOpensOnTheJournalsList) {
  makeEntity();
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  EXPECT_EQ(host.shown, std::vector<int>{kJournalsList});
  EXPECT_EQ(host.mainWindow.entityBanner, "Smith Plumbing, Pty Ltd");
  // Quarterly, GST date blank: today (August) selects the September quarter.
  EXPECT_EQ(host.mainWindow.selectedGstPeriod, 2);
  EXPECT_EQ(session.login.periodLetter, 'I');
  EXPECT_TRUE(prompter.texts().empty());
  EXPECT_EQ(session.panel(kJournalsList)->boxText(1), "Payments Book");
  // The chosen font went into the report print settings.
  EXPECT_EQ(test::recordOf<ReportPrintSettings>(dir / "RpP-1.Dat", 1).fontNames[1], "Tahoma");
}

// What a bring-back cut short left in the staging folder goes at the next
// opening, whichever program opens the area.
TEST_F(WorkAreaTest, TheOpeningRemovesWhatABringBackCutShortStaged) {
  makeEntity();
  fs::create_directories(area() / "~Staging");
  test::writeText(area() / "~Staging" / "Ent.dat", "staged");
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  EXPECT_FALSE(fs::exists(area() / "~Staging"));
}

TEST_F(WorkAreaTest, AFirstStartCreatesTheAreaAndLeadsIntoTheFirstEntity) {
  prompter.then(Answer::Yes);
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  EXPECT_TRUE(fs::exists(area() / "lum.ini"));
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"You must set & select an entity.  Do you want to proceed?"});
  EXPECT_EQ(session.currentWindow, kEntityDetails);
  EXPECT_EQ(session.login.firstTimeFlag, 'X');
  EXPECT_EQ(test::readBytes(area() / "Entcoun.dat"),
            (test::Bytes().text("", 24).int16(1).text("", 24).int16(1).bytes()));
  // Closing the details while the first entity is set up ends the program.
  closeWindow(session);
  EXPECT_TRUE(host.ended);
}

TEST_F(WorkAreaTest, DecliningTheFirstEntityEndsTheProgram) {
  prompter.then(Answer::No);
  EXPECT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Ended);
  EXPECT_TRUE(host.shown.empty());
}

TEST_F(WorkAreaTest, ASecondCopyIsRefusedWhileTheFirstGoesOn) {
  makeEntity();
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);

  ScriptedPrompter otherPrompter;
  test::FakeHost otherHost;
  Session other{ops, paths, otherPrompter, clock, waiter};
  other.setHost(otherHost);
  other.login.groupNumber = 1;
  waiter.duringWait = [&] { lockHeartbeat(session); };
  const auto before = clock.monotonic();
  EXPECT_EQ(openWorkArea(other, 1, AreaMode::StartUp), AreaOutcome::Refused);
  EXPECT_GE(clock.monotonic() - before, std::chrono::seconds(3));
  EXPECT_EQ(otherPrompter.texts(),
            std::vector<std::string>{
                "The selected work area is currently being used.  Only one person can log in."});
  EXPECT_TRUE(session.lock().holds());
}

TEST_F(WorkAreaTest, WindowPositionsOffTheScreenOrCutShortAreReset) {
  makeEntity();
  // Record 1: top 3000, left 10; record 2 cut short after 3 bytes.
  test::writeBytes(
      area() / "ScrLoc.Dat",
      test::Bytes().raw({0x00, 0x80, 0x3B, 0x45}).raw({0, 0, 0x20, 0x41}).raw({1, 2, 3}));
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  // Records past the end read as zeros, which are on the screen.
  ASSERT_EQ(fs::file_size(area() / "ScrLoc.Dat"), 16u);
  const auto first = test::recordOf<WindowPositionRecord>(area() / "ScrLoc.Dat", 1);
  EXPECT_EQ(first.left, 300.0f);
  EXPECT_EQ(first.top, 600.0f);
  const auto second = test::recordOf<WindowPositionRecord>(area() / "ScrLoc.Dat", 2);
  EXPECT_EQ(second.left, 50.0f);
  EXPECT_EQ(second.top, 750.0f);
  EXPECT_EQ(host.positions[kJournalsList].left, 300.0f);
}

TEST_F(WorkAreaTest, ClosingTheJournalsListSavesTheGstDateAndEnds) {
  makeEntity();
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  selectGstPeriod(session, 3);
  EXPECT_EQ(session.login.periodLetter, 'L');
  EXPECT_EQ(session.login.gstDate, Date::fromYmd(2026, 12, 1));
  host.positions[kJournalsList] = WindowPosition{120, 240};
  exitCommand(session);
  EXPECT_TRUE(host.ended);
  EXPECT_FALSE(session.lock().holds());
  EXPECT_EQ(test::recordOf<GstDateRecord>(area() / "GSTDate.dat", 1).date.date(),
            Date::fromYmd(2026, 12, 1));
  EXPECT_EQ(test::recordOf<WindowPositionRecord>(area() / "ScrLoc.Dat", 1).top, 240.0f);
}

TEST_F(WorkAreaTest, DetailsDisableTheListAndEscReturnsToIt) {
  makeEntity();
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  openLineDetails(session, kJournalsList);
  EXPECT_EQ(session.currentWindow, kJournalDetails);
  EXPECT_FALSE(host.enabled[kJournalsList]);
  EXPECT_FALSE(host.commands.at("Combo1"));
  closeWindow(session);
  EXPECT_EQ(session.currentWindow, kJournalsList);
  EXPECT_TRUE(host.enabled[kJournalsList]);
  EXPECT_EQ(host.focused, kJournalsList);
  EXPECT_TRUE(host.commands.at("Combo1"));
}

TEST_F(WorkAreaTest, F3ActsEverywhereTheOtherFunctionKeysOnlyOnTheJournalGrid) {
  makeEntity();
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  std::vector<std::string> acted;
  session.functionKeyActions = {[&] { acted.push_back("F2"); }, [&] { acted.push_back("F3"); },
                                [&] { acted.push_back("F4"); }, [&] { acted.push_back("F5"); }};
  InputPanel& journals = *session.panel(kJournalsList);
  for (const PanelKey key : {PanelKey::F2, PanelKey::F3, PanelKey::F4, PanelKey::F5}) {
    journals.keyDown(key, false);
  }
  EXPECT_EQ(acted, std::vector<std::string>{"F3"});
  session.currentWindow = kJournalGrid;
  functionKey(session, PanelKey::F5);
  EXPECT_EQ(acted, (std::vector<std::string>{"F3", "F5"}));
}

TEST_F(WorkAreaTest, WorkingFromFloppySwapsEntityAndConfiguration) {
  makeEntity();
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  // No floppy folder: told, and the data stays on the hard disk.
  workFrom(session, true);
  EXPECT_EQ(session.login.dataDirectory, ".\\Ent-1\\Op-1");
  ASSERT_EQ(prompter.texts().size(), 1u);
  EXPECT_NE(prompter.texts()[0].find("stays on the hard disk"), std::string::npos);

  fs::create_directories(dir / "floppy");
  workFrom(session, true);
  EXPECT_EQ(session.login.dataDirectory, "A:");
  EXPECT_TRUE(host.mainWindow.workingFromFloppy);
  EXPECT_FALSE(host.commands.at("Entiy"));
  EXPECT_TRUE(host.commands.at("Configer"));
  workFrom(session, false);
  EXPECT_FALSE(host.mainWindow.workingFromFloppy);
  EXPECT_TRUE(host.commands.at("Entiy"));
  EXPECT_FALSE(host.commands.at("Configer"));
  EXPECT_EQ(session.file("Jnl").path(), area() / "Jnl-0001.dat");
}

TEST_F(WorkAreaTest, ANewJournalStartsCleanAndKeepsItsColumns) {
  makeEntity();
  for (const char* stale : {"DC030001.dat", "aM030001.dat", "GO030001.DAT"}) {
    test::writeText(area() / stale, "old");
  }
  test::writeText(area() / "DC020001.dat", "journal 2 keeps its lines");
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  InputPanel& journals = *session.panel(kJournalsList);
  journals.focusGained(2);  // the empty line after the last journal
  journals.textEdited(2, "Bank Journal");
  journals.keyDown(PanelKey::Enter, false);

  EXPECT_EQ(journals.lineCount(), 3);
  const auto header = test::recordOf<JournalHeaderRecord>(area() / "Jnl-0001.dat", 3);
  EXPECT_EQ(header.name, "Bank Journal");
  EXPECT_EQ(header.type, "E");
  EXPECT_EQ(fs::file_size(area() / "An030001.dat"), 100u * 35);
  EXPECT_EQ(fs::file_size(area() / "Ax030001.dat"), 100u * 8);
  for (const char* stale : {"DC030001.dat", "aM030001.dat", "GO030001.DAT"}) {
    EXPECT_FALSE(fs::exists(area() / stale)) << stale;
  }
  EXPECT_TRUE(fs::exists(area() / "DC020001.dat"));
}

TEST_F(WorkAreaTest, TheEntitiesListAddsAndSelectsEntities) {
  makeEntity();
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  openWindow(session, kEntitiesList);
  InputPanel& entities = *session.panel(kEntitiesList);
  EXPECT_EQ(entities.boxText(0), "Smith Plumbing, Pty Ltd");
  entities.focusGained(1);
  entities.textEdited(1, "Jones Cafe");
  entities.keyDown(PanelKey::Enter, false);
  EXPECT_EQ(entities.lineCount(), 2);
  EXPECT_EQ(entities.currentLine(), 2);
  openSelectedLine(session, kEntitiesList);  // the empty line: nothing to select
  EXPECT_EQ(session.login.entityNumber, 1);
  entities.keyDown(PanelKey::Up, false);
  openSelectedLine(session, kEntitiesList);
  EXPECT_EQ(session.login.entityNumber, 2);
  EXPECT_EQ(session.login.firstTimeFlag, 'C');
  closeWindow(session);  // back on the journals list, the new entity's files are opened
  EXPECT_EQ(session.file("Jnl").path(), area() / "Jnl-0002.dat");
  EXPECT_EQ(host.mainWindow.entityBanner, "Jones Cafe");
  EXPECT_EQ(test::recordOf<CounterRecord>(area() / "Entcoun.dat", 1).value, 2);
}

TEST_F(WorkAreaTest, ALostEntityCountIsAskedFor) {
  makeEntity();
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
  test::writeBytes(area() / "Entcoun.dat",
                   test::Bytes().text("", 24).int16(-3).text("", 24).int16(1));
  prompter.thenType("1");
  openWindow(session, kEntitiesList);
  EXPECT_EQ(prompter.texts().back(),
            "The entity counter file seems to be lost.  It shows as if there are -3 entities. "
            "Enter the correct number of entities that should exist with this group.");
  EXPECT_EQ(session.panel(kEntitiesList)->lineCount(), 1);
}

TEST_F(WorkAreaTest, PeekingFollowsTheOperatorsRights) {
  makeEntity();
  makeEntity(2);
  ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);

  prompter.thenType("7").thenType("").thenType("2");
  peek(session);
  EXPECT_EQ(prompter.texts().back(), "Operator Number 7 does not have any cash books data");
  EXPECT_FALSE(fs::exists(prog() / "Ent-1" / "Op-7"));
  peek(session);  // an empty answer does nothing
  EXPECT_EQ(prompter.exchanges()[2].prompt.title, "Operator Peek");

  session.login.operatorClass = 'Y';  // restricted, with an empty profile
  peek(session);
  EXPECT_EQ(prompter.texts().back(),
            "You are not authorized to peek into this operator's data.  Please call the "
            "administrator to obtain authorization.");

  test::Bytes profile;
  profile.zeros(2 * 500).int16(2);  // record 501 lists operator 2
  test::writeBytes(dir / "System" / "Ent-1" / "OpP-0001.dat", profile);
  session.registry().close("OperProf");
  prompter.thenType("2");
  peek(session);
  EXPECT_EQ(session.login.workArea, ".\\Ent-1\\Op-2");
  EXPECT_EQ(session.login.workAreaOperator, 2);
  EXPECT_EQ(host.unloadAllCount, 1);
  EXPECT_TRUE(prompter.scriptFinished());
}

}  // namespace
}  // namespace lum
