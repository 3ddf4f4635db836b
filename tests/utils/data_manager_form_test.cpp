#include "utils/data_manager_form.h"

#include <fmt/core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include "help/help_window.h"
#include "tests/utils/smtp_server.h"
#include "tests/utils/utils_fixture.h"
#include "utils/mail_settings.h"
#include "utils/mail_window.h"
#include "utils/storage.h"
#include "utils/utils_dispatch.h"
#include "utils/utils_windows.h"

namespace lum {
namespace {

using test::UtilsParts;

// The program's windows over a fresh work area, as main() wires them.
struct Screen {
  explicit Screen(UtilsParts& owner) : parts(owner) {
    parts.session.start();
    dispatch.showMain();
  }
  QPushButton* button(UtilsWindow code, const char* name) {
    return windows.window(code)->findChild<QPushButton*>(name);
  }
  std::vector<std::string> rows() {
    std::vector<std::string> texts;
    for (QLineEdit* box : windows.main().findChildren<QLineEdit*>("InBox")) {
      texts.push_back(box->text().toStdString());
    }
    return texts;
  }

  UtilsParts& parts;
  Storage storage{parts.session};
  struct Host final : UtilsWindowHost {
    UtilsWindows* windows = nullptr;
    void showWindow(UtilsWindow window, std::optional<std::pair<float, float>> place) override {
      windows->showWindow(window, place);
    }
    std::pair<float, float> hideWindow(UtilsWindow window) override {
      return windows->hideWindow(window);
    }
    void endProgram() override { ended = true; }
    bool ended = false;
  } host;
  UtilsDispatch dispatch{parts.session, host};
  UtilsWindows windows{parts.session, storage, dispatch};
  bool wired = (host.windows = &windows, true);
  DnsMxResolver resolver;
  MailWindow* mail = [this] {
    auto* window = new MailWindow(dispatch, parts.session, storage, resolver);
    windows.add(window);
    return window;
  }();
};

std::string queueStatus(MailWindow& window, int row) {
  auto* list = window.findChild<QTreeWidget*>("listMail");
  return row < list->topLevelItemCount() ? list->topLevelItem(row)->text(3).toStdString()
                                         : std::string();
}

TEST(MailWindow, EmailToAccountantQueuesTheZipAtOnceAndItArrives) {
  UtilsParts parts;
  parts.fillWorkArea();
  test::SmtpServer server(parts.dir);
  ASSERT_NE(server.port(), 0);
  Screen screen(parts);
  MailSettingsRecord settings;
  settings.server = "127.0.0.1";
  settings.port = std::to_string(server.port());
  settings.senderName = "Jo Smith";
  settings.senderAddress = "jo@example.com";
  settings.recipientName = "Acme Accountants   ";
  settings.recipientAddress = "acc@example.com";
  saveMailSettings(parts.session, settings);

  QTest::mouseClick(screen.button(UtilsWindow::Main, "Command3"), Qt::LeftButton);
  MailWindow& mail = *screen.mail;
  ASSERT_TRUE(mail.isVisible());
  EXPECT_EQ(mail.findChild<QLineEdit*>("textSubject")->text(), "Vazi Varur Data from Jo Smith");
  EXPECT_TRUE(
      mail.findChild<QPlainTextEdit*>("textBody")
          ->toPlainText()
          .startsWith("Dear Acme Accountants, Attached is our cash books data derived on "));
  auto* list = mail.findChild<QTreeWidget*>("listMail");
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "1");
  EXPECT_EQ(list->topLevelItem(0)->text(2), "acc@example.com");
  EXPECT_TRUE(QTest::qWaitFor([&] { return queueStatus(mail, 0) == "Sent successfully!"; }, 20000))
      << queueStatus(mail, 0);
  EXPECT_EQ(test::readBytes(server.out() / "1-lum.zip"),
            test::readBytes(parts.group() / "Email" / "lum.zip"));

  // Esc, then "Set Email": the settings only, nothing queued; OK keeps them.
  QTest::keyClick(&mail, Qt::Key_Escape);
  EXPECT_FALSE(mail.isVisible());
  QTest::mouseClick(screen.button(UtilsWindow::Main, "Command18"), Qt::LeftButton);
  ASSERT_TRUE(mail.isVisible());
  EXPECT_EQ(list->topLevelItemCount(), 1);
  mail.findChild<QLineEdit*>("textSMTPPort")->setText("2525");
  mail.findChild<QCheckBox*>("checkSendDirect")->setChecked(true);
  QTest::mouseClick(mail.findChild<QPushButton*>("Command2"), Qt::LeftButton);
  EXPECT_FALSE(mail.isVisible());
  const auto saved = loadMailSettings(parts.session);
  EXPECT_EQ(saved.port, "2525");
  EXPECT_EQ(saved.sendDirectly, 1);
  EXPECT_EQ(saved.recipientName, "Acme Accountants");

  // A failed message shows its error in its row and in a message box.
  QTest::mouseClick(screen.button(UtilsWindow::Main, "Command18"), Qt::LeftButton);
  mail.findChild<QCheckBox*>("checkSendDirect")->setChecked(false);
  mail.findChild<QLineEdit*>("textSMTPUsername")->setText("jo");
  QTest::mouseClick(mail.findChild<QPushButton*>("buttonAddToQueue"), Qt::LeftButton);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return queueStatus(mail, 1).starts_with("Send failed!"); }, 20000));
  EXPECT_EQ(parts.prompter.texts().back(), queueStatus(mail, 1));
  QTest::mouseClick(mail.findChild<QPushButton*>("buttonClearQueue"), Qt::LeftButton);
  EXPECT_EQ(list->topLevelItemCount(), 0);

  // A message the queue refuses: "Error!" in its row, the reason in a message box.
  mail.findChild<QLineEdit*>("textToEmail")->setText("nobody");
  QTest::mouseClick(mail.findChild<QPushButton*>("buttonAddToQueue"), Qt::LeftButton);
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "");
  EXPECT_EQ(queueStatus(mail, 0), "Error!");
  EXPECT_EQ(parts.prompter.texts().back(), "The recipient's e-mail address is not an address.");

  mail.findChild<QLineEdit*>("textThreads")->setText("100");
  EXPECT_EQ(mail.queue().threads(), 1);
  mail.findChild<QLineEdit*>("textThreads")->setText("3");
  EXPECT_EQ(mail.queue().threads(), 3);
}

TEST(DataManagerForm, StoreAwayThroughItsWindowAndBackToTheList) {
  UtilsParts parts;
  parts.fillWorkArea();
  Screen screen(parts);
  DataManagerForm& main = screen.windows.main();
  EXPECT_EQ(main.findChild<QLabel*>("Label2")->text(), "Store Folder: .\\Ent-1\\zip\\");
  EXPECT_EQ(screen.rows()[0], "");

  QTest::mouseClick(screen.button(UtilsWindow::Main, "Command4"), Qt::LeftButton);
  QWidget* store = screen.windows.window(UtilsWindow::Store);
  ASSERT_TRUE(store->isVisible());
  EXPECT_FALSE(main.isEnabled());
  QTest::mouseClick(screen.button(UtilsWindow::Store, "Command1"), Qt::LeftButton);
  EXPECT_FALSE(store->isVisible());
  EXPECT_TRUE(main.isEnabled());
  EXPECT_EQ(screen.rows()[0], "Smith Plumbing, Pty  20/08/26");
  EXPECT_TRUE(std::filesystem::exists(parts.store() / "LUM-1.Zip"));
  EXPECT_EQ(main.selectedSlot(), 1);
  auto* status = main.findChild<QStatusBar*>("StatusBar");
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->currentMessage().toStdString(), "Stored in slot 1: Smith Plumbing, Pty");

  // Bring Back onto the hard disk, over the files there: the status bar
  // counts what came back.
  QTest::mouseClick(screen.button(UtilsWindow::Main, "Command5"), Qt::LeftButton);
  parts.prompter.then(Answer::No);
  QTest::mouseClick(screen.button(UtilsWindow::Restore, "Command1"), Qt::LeftButton);
  EXPECT_EQ(parts.prompter.texts().back(),
            "Do you want to clear the existing data in the work space?");
  const std::size_t files = screen.storage.lastUnzip().extracted.size();
  EXPECT_GE(files, 5u);  // the five files the work area was filled with
  EXPECT_EQ(status->currentMessage().toStdString(),
            fmt::format("Brought back slot 1: Smith Plumbing, Pty ({} files)", files));

  // Esc in a window goes back through the dispatcher too.
  QTest::mouseClick(screen.button(UtilsWindow::Main, "Command5"), Qt::LeftButton);
  QWidget* restore = screen.windows.window(UtilsWindow::Restore);
  ASSERT_TRUE(restore->isVisible());
  QTest::keyClick(restore, Qt::Key_Escape);
  EXPECT_FALSE(restore->isVisible());
  EXPECT_EQ(parts.session.currentWindow(), UtilsWindow::Main);

  QLineEdit* search = main.findChild<QLineEdit*>("Text1");
  search->setText("nothing like it");
  QTest::keyClick(search, Qt::Key_Return);
  EXPECT_EQ(parts.prompter.texts().back(), "Search text could not be found");

  main.close();
  EXPECT_TRUE(screen.host.ended);
  EXPECT_TRUE(std::filesystem::exists(parts.area() / "ScrLoc.Dat"));
}

TEST(DataManagerForm, ClassYSeesOnlyItsCommands) {
  UtilsParts parts;
  std::vector<std::byte> oper(88 * 4);
  oper[88 * 2 + 62] = std::byte{99};
  test::writeBytes(parts.dir / "System" / "Ent-1" / "Oper.dat", oper);
  Screen screen(parts);
  std::vector<std::string> enabled;
  for (QPushButton* button : screen.windows.main().findChildren<QPushButton*>()) {
    if (button->isEnabled()) {
      enabled.push_back(button->objectName().toStdString());
    }
  }
  EXPECT_EQ(enabled, (std::vector<std::string>{"Command4", "Command5", "Command3", "Command18",
                                               "Command10", "CommandHelp", "Command1"}));
}

// The manual is a window of its own: F1 works while the main window waits
// for the one in front, and opens that window's section.
TEST(DataManagerForm, F1AndHelpOpenTheManualAtTheWindowInFront) {
  UtilsParts parts;
  Screen screen(parts);
  const auto help = [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* window = qobject_cast<HelpWindow*>(widget)) {
        return window;
      }
    }
    return static_cast<HelpWindow*>(nullptr);
  };
  ASSERT_EQ(help(), nullptr);
  QTest::mouseClick(screen.button(UtilsWindow::Main, "CommandHelp"), Qt::LeftButton);
  ASSERT_NE(help(), nullptr);
  EXPECT_EQ(help()->windowTitle(), "LumUtils Help");
  EXPECT_EQ(help()->currentSection(), "storage-and-mail-lumutils");
  help()->close();

  QTest::mouseClick(screen.button(UtilsWindow::Main, "Command4"), Qt::LeftButton);
  QWidget* store = screen.windows.window(UtilsWindow::Store);
  ASSERT_TRUE(store->isVisible());
  ASSERT_FALSE(screen.windows.main().isEnabled());
  store->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(store));
  QTest::keyClick(store, Qt::Key_F1);
  EXPECT_TRUE(help()->isVisible());
  EXPECT_TRUE(help()->isEnabled());
  EXPECT_EQ(help()->currentSection(), "store-away");
  EXPECT_TRUE(store->isVisible());  // F1 closed nothing
}

}  // namespace
}  // namespace lum
