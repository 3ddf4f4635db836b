#include "post/render/font_dialog.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/text.h"

namespace lum {
namespace {

std::vector<std::string> systemFamilies() {
  std::vector<std::string> names;
  for (const QString& family : QFontDatabase::families()) {
    names.push_back(family.toStdString());
  }
  return names;
}

}  // namespace

FontDialog::FontDialog(FontList& list, std::function<void(const std::string&)> applyFont,
                       QWidget* parent)
    : QWidget(parent), mList(&list), mApplyFont(std::move(applyFont)) {
  setObjectName("FontDialog");
  setWindowTitle("Select Font");
  mFonts = new QListWidget(this);
  mFonts->setObjectName("lstMatchFonts");
  mSample = new QLabel("AaBbCcXxYyZz 0123456789 $1,234.56", this);
  mSample->setObjectName("lblFontDemo");
  mSample->setMinimumHeight(60);
  mSample->setFrameShape(QFrame::Panel);
  mWait = new QLabel("Please wait while Pagewright checks for available fonts...", this);
  mWait->setObjectName("lblCancelMsg");
  mWait->hide();
  mProgress = new QProgressBar(this);
  mProgress->setObjectName("picProgress");
  mProgress->setTextVisible(false);
  mProgress->hide();
  mOk = new QPushButton("OK", this);
  mOk->setObjectName("cmdOK");
  mOk->setDefault(true);
  mCancel = new QPushButton("Cancel", this);
  mCancel->setObjectName("cmdCancel");

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(mOk);
  buttons->addWidget(mCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mFonts, 1);
  layout->addWidget(mSample);
  layout->addWidget(mWait);
  layout->addWidget(mProgress);
  layout->addLayout(buttons);

  connect(mFonts, &QListWidget::currentRowChanged, this, [this] { showSample(); });
  connect(mFonts, &QListWidget::itemDoubleClicked, this, [this] { showSample(); });
  connect(mFonts, &QListWidget::itemActivated, this, [this] { accept(); });
  connect(mOk, &QPushButton::clicked, this, [this] { accept(); });
  connect(mCancel, &QPushButton::clicked, this, [this] { cancel(); });
  resize(360, 420);
}

void FontDialog::prepare(std::vector<std::string> screenFonts,
                         std::vector<std::string> printerFonts) {
  if (!mList->built()) {
    if (screenFonts.empty()) {
      screenFonts = systemFamilies();
    }
    if (printerFonts.empty()) {
      printerFonts = systemFamilies();
    }
    mWait->show();
    mProgress->show();
    mOk->hide();
    mList->build(screenFonts, printerFonts, [this](int done, int total) {
      mProgress->setMaximum(total);
      mProgress->setValue(done);
      QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    mWait->hide();
    mProgress->hide();
    mOk->show();
  }
  mChosen = mList->chosen();
  mFonts->clear();
  for (const std::string& name : mList->names()) {
    mFonts->addItem(QString::fromStdString(name));
  }
  mFonts->setCurrentRow(0);
  mFonts->setFocus();
}

void FontDialog::showSample() {
  if (const QListWidgetItem* item = mFonts->currentItem()) {
    QFont font(QString::fromStdString(std::string(trimRight(item->text().toStdString()))));
    font.setPointSize(14);
    mSample->setFont(font);
  }
}

void FontDialog::accept() {
  if (const QListWidgetItem* item = mFonts->currentItem()) {
    const std::string name(trimRight(item->text().toStdString()));
    mList->choose(name);
    mChosen = name;
    if (mApplyFont) {
      mApplyFont(name);
    }
  }
  finish();
}

void FontDialog::cancel() {
  mChosen = mList->chosen();
  finish();
}

void FontDialog::finish() {
  if (mDone) {
    mDone();
  } else {
    close();
  }
}

}  // namespace lum
