#include "platform/qt/qt_prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace lum {
namespace {

TEST(QtPrompter, EnterAnswersNoToADestructiveQuestionAndYesToAPlainOne) {
  QtPrompter prompter(nullptr, "LumPost");
  auto caption = std::make_shared<QString>();
  const auto enterOnTheBox = [caption] {
    QTimer::singleShot(0, [caption] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      *caption = box->defaultButton() != nullptr ? box->defaultButton()->text() : QString();
      QTest::keyClick(box, Qt::Key_Return);
    });
  };
  enterOnTheBox();
  EXPECT_FALSE(prompter.confirm("Selected Row will be deleted.  Are you sure? "));
  EXPECT_EQ(*caption, "&No");
  enterOnTheBox();
  EXPECT_TRUE(prompter.yes("Do you want to proceed?"));
}

}  // namespace
}  // namespace lum
