#include "post/ledgers/transfer_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <vector>

#include "post/ledgers/transfer_choices.h"
#include "tests/post/login/session_fixture.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// The transfer window over a session of group 1 whose ledgers tree the
// demo script made, with one period folder put aside beside Current.
class TransferWindowTest : public ::testing::Test, protected test::SessionParts {
 protected:
  TransferWindowTest() {
    const auto [status, out] = test::runCommand(
        std::string(LUM_SCRIPTS_DIR) + "/make-ledgers-demo '" + dir.path().string() + "' 2>&1");
    EXPECT_EQ(status, 0) << out;
    fs::create_directories(dir / "GLed" / "Ent-1" / "Year 2025");
    test::writeText(dir / "GLed" / "Ent-1" / "not a folder", "");
  }

  void open() {
    mWindow = std::make_unique<TransferWindow>(
        initialTransferRequest(session), ledgersPeriodChoices(session),
        TransferWindow::Actions{[this] { accepted.push_back(mWindow->request()); },
                                [this] { ++closed; }});
    mWindow->show();
    mWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mWindow.get()));
    mWindow->setFocus();
  }

  template <class T>
  T* find(const char* name) {
    T* child = mWindow->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  void key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

  std::unique_ptr<TransferWindow> mWindow;
  std::vector<TransferRequest> accepted;
  int closed = 0;
};

TEST_F(TransferWindowTest, ShowsTheLogInsClientAndTheLedgersPeriods) {
  session.login.ledgersNumber = 1;
  open();
  auto* client = find<QLineEdit>("InBox");
  EXPECT_EQ(client->text(), "1");
  EXPECT_TRUE(client->hasFocus());
  EXPECT_EQ(find<QLabel>("Label1")->text(), "Ledgers Client &Number");
  EXPECT_EQ(find<QLabel>("Label2")->text(), "Ledgers &Period");

  auto* period = find<QComboBox>("Combo1");
  ASSERT_EQ(period->count(), 2);
  EXPECT_EQ(period->itemText(0), "Current");
  EXPECT_EQ(period->itemText(1), "Year 2025");
  EXPECT_EQ(period->currentText(), "Current");

  EXPECT_EQ(find<QRadioButton>("Option1")->text(), "New Transactions Only");
  EXPECT_EQ(find<QRadioButton>("Option2")->text(), "All Transactions");
  EXPECT_EQ(find<QRadioButton>("Option3")->text(), "All Periods");
  EXPECT_EQ(find<QRadioButton>("Option4")->text(), "Current Period Only");
  EXPECT_EQ(find<QRadioButton>("Option1")->parentWidget()->property("title").toString(),
            "Transfer Type");
  EXPECT_EQ(find<QRadioButton>("Option3")->parentWidget()->property("title").toString(), "Periods");
  EXPECT_EQ(find<QPushButton>("Command1")->text(), "&OK");
  EXPECT_EQ(find<QPushButton>("Command2")->text(), "Esc");

  // Enter takes what the window shows: the defaults.
  key(Qt::Key_Return);
  ASSERT_EQ(accepted.size(), 1u);
  EXPECT_EQ(accepted[0].ledgers, 1);
  EXPECT_EQ(accepted[0].folder, "Current");
  EXPECT_FALSE(accepted[0].allTransactions);
  EXPECT_FALSE(accepted[0].allPeriods);
}

TEST_F(TransferWindowTest, TheKeyboardWalksTheChoicesInOrder) {
  open();
  auto* client = find<QLineEdit>("InBox");
  EXPECT_EQ(client->text(), "");      // the log-in has no ledgers client
  QTest::keyClicks(client, "12x34");  // the mask takes digits only, four of them
  EXPECT_EQ(client->text(), "1234");

  key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), find<QComboBox>("Combo1"));
  key(Qt::Key_Down);
  EXPECT_EQ(find<QComboBox>("Combo1")->currentText(), "Year 2025");

  key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), find<QRadioButton>("Option1"));
  key(Qt::Key_Down);  // the arrows move within a frame
  EXPECT_TRUE(find<QRadioButton>("Option2")->isChecked());
  key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), find<QRadioButton>("Option3"));
  key(Qt::Key_Space);
  EXPECT_TRUE(find<QRadioButton>("Option3")->isChecked());
  EXPECT_TRUE(find<QRadioButton>("Option2")->isChecked());  // the frames choose apart
  key(Qt::Key_Tab);                                         // past the frame's other option
  EXPECT_EQ(QApplication::focusWidget(), find<QPushButton>("Command1"));
  key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), find<QPushButton>("Command2"));

  // Enter on Esc presses Esc, not OK.
  key(Qt::Key_Return);
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(accepted.empty());

  key(Qt::Key_Backtab);
  key(Qt::Key_Return);
  ASSERT_EQ(accepted.size(), 1u);
  EXPECT_EQ(accepted[0].ledgers, 1234);
  EXPECT_EQ(accepted[0].folder, "Year 2025");
  EXPECT_TRUE(accepted[0].allTransactions);
  EXPECT_TRUE(accepted[0].allPeriods);
}

TEST_F(TransferWindowTest, ABlankClientNumberIsNoneAndCountsAreTold) {
  open();
  EXPECT_EQ(mWindow->request().ledgers, 0);
  EXPECT_EQ(typedLedgersNumber("    "), 0);
  EXPECT_EQ(typedLedgersNumber("0042"), 42);
  EXPECT_EQ(typedLedgersNumber("0000"), 0);
  EXPECT_EQ(transferredMessage({12, 1, 0}),
            "Transferred: 12 entries, 1 journal header, 0 comments.");
}

TEST_F(TransferWindowTest, WithoutALedgersTreeOnlyCurrentIsOffered) {
  fs::remove_all(dir / "GLed");
  EXPECT_EQ(ledgersPeriodChoices(session), std::vector<std::string>{"Current"});
}

}  // namespace
}  // namespace lum
