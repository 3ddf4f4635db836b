#include "post/journals/account_panels.h"

#include <gtest/gtest.h>

#include "post/login/detail_panels.h"
#include "post/login/window_dispatch.h"
#include "tests/post/journals/journal_fixture.h"

namespace lum {
namespace {

class AccountWindowsTest : public ::testing::Test, protected test::JournalParts {
 protected:
  AccountWindowsTest() {
    installAccountWindows(session,
                          JournalInView{[this] { return &journal; }, [this] { return column; }});
  }

  Journal journal = JournalFiles(session, 1).load();
  int column = 6;
};

TEST_F(AccountWindowsTest, DetailsEditTheColumnAndRefuseABadRatio) {
  session.currentWindow = kJournalGrid;
  openWindow(session, kAccountDetails);
  InputPanel& details = *session.panel(kAccountDetails);
  EXPECT_EQ(details.boxText(0), "Fuel");
  EXPECT_EQ(details.boxText(2), "E");
  EXPECT_EQ(details.boxText(3), "407");
  EXPECT_EQ(details.labelText(5), "Ratio Exempt From GST");

  details.focusGained(5);
  details.textEdited(5, "1.5");
  details.keyDown(PanelKey::Up, false);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Ratio must be between 0 and 1"});
  EXPECT_EQ(details.boxText(5), "0");

  details.textEdited(4, "10");  // the Up key left the focus here
  details.focusGained(0);
  details.textEdited(0, "Diesel");
  details.focusGained(5);
  details.textEdited(5, "0.25");
  acceptAndClose(session);
  EXPECT_EQ(session.currentWindow, kJournalGrid);
  EXPECT_EQ(journal.column(6).name, "Diesel");
  EXPECT_EQ(journal.column(6).exemptRatio, 0.25f);
  EXPECT_EQ(journal.column(6).basClassification, 10.0f);
  EXPECT_EQ(journal.column(6).ledgersAccount, 407);
}

TEST_F(AccountWindowsTest, TheAccountNamesListShowsTheOpenJournalsAccounts) {
  session.currentWindow = kJournalGrid;
  openWindow(session, kAccountNames);
  InputPanel& names = *session.panel(kAccountNames);
  EXPECT_EQ(names.boxText(0), "Sales");
  EXPECT_EQ(names.boxText(1), "SY");
  EXPECT_EQ(names.boxText(2), "Fuel");
  EXPECT_EQ(names.lineCount(), journal.analysisColumns());
}

}  // namespace
}  // namespace lum
