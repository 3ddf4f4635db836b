#include "post/ledgers/transfer_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "post/ledgers/transfer_choices.h"

namespace lum {
namespace {

// Two options in a frame, the second checked when on.
QGroupBox* optionFrame(QWidget* parent, const char* title, QRadioButton*& first,
                       const char* firstName, const char* firstCaption, QRadioButton*& second,
                       const char* secondName, const char* secondCaption, bool on) {
  auto* frame = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(frame);
  first = new QRadioButton(firstCaption, frame);
  first->setObjectName(firstName);
  second = new QRadioButton(secondCaption, frame);
  second->setObjectName(secondName);
  (on ? second : first)->setChecked(true);
  layout->addWidget(first);
  layout->addWidget(second);
  return frame;
}

}  // namespace

TransferWindow::TransferWindow(const TransferRequest& initial,
                               const std::vector<std::string>& periods, Actions actions,
                               QWidget* parent)
    : QWidget(parent), mActions(std::move(actions)) {
  auto* layout = new QVBoxLayout(this);
  auto* boxes = new QGridLayout;

  mClient = new QLineEdit(this);
  mClient->setObjectName("InBox");
  mClient->setInputMask("9999");
  mClient->setMaxLength(4);
  mClient->setFixedWidth(mClient->fontMetrics().horizontalAdvance("99999") + 16);
  if (initial.ledgers != 0) {
    mClient->setText(QString::number(initial.ledgers));
  }
  auto* clientLabel = new QLabel("Ledgers Client &Number", this);
  clientLabel->setObjectName("Label1");
  clientLabel->setBuddy(mClient);
  boxes->addWidget(clientLabel, 0, 0);
  boxes->addWidget(mClient, 0, 1, Qt::AlignLeft);

  mPeriod = new QComboBox(this);
  mPeriod->setObjectName("Combo1");
  mPeriod->setMinimumContentsLength(12);
  for (const std::string& folder : periods) {
    mPeriod->addItem(QString::fromStdString(folder));
  }
  mPeriod->setCurrentIndex(std::max(0, mPeriod->findText(QString::fromStdString(initial.folder))));
  auto* periodLabel = new QLabel("Ledgers &Period", this);
  periodLabel->setObjectName("Label2");
  periodLabel->setBuddy(mPeriod);
  boxes->addWidget(periodLabel, 1, 0);
  boxes->addWidget(mPeriod, 1, 1);
  layout->addLayout(boxes);

  auto* frames = new QHBoxLayout;
  frames->addWidget(optionFrame(this, "Transfer Type", mNewOnly, "Option1", "New Transactions Only",
                                mAllTransactions, "Option2", "All Transactions",
                                initial.allTransactions));
  frames->addWidget(optionFrame(this, "Periods", mAllPeriods, "Option3", "All Periods",
                                mCurrentPeriod, "Option4", "Current Period Only",
                                !initial.allPeriods));
  layout->addLayout(frames);

  auto* commands = new QHBoxLayout;
  auto* ok = new QPushButton("&OK", this);
  ok->setObjectName("Command1");
  auto* cancel = new QPushButton("Esc", this);
  cancel->setObjectName("Command2");
  // Enter on a button presses it; anywhere else it is OK (keyPressEvent).
  ok->setAutoDefault(true);
  cancel->setAutoDefault(true);
  commands->addStretch();
  commands->addWidget(ok);
  commands->addWidget(cancel);
  layout->addLayout(commands);

  connect(ok, &QPushButton::clicked, this, [this] { mActions.accept(); });
  connect(cancel, &QPushButton::clicked, this, [this] { mActions.close(); });

  setTabOrder(mClient, mPeriod);
  setTabOrder(mPeriod, mNewOnly);
  setTabOrder(mNewOnly, mAllTransactions);
  setTabOrder(mAllTransactions, mAllPeriods);
  setTabOrder(mAllPeriods, mCurrentPeriod);
  setTabOrder(mCurrentPeriod, ok);
  setTabOrder(ok, cancel);
  setFocusProxy(mClient);
}

TransferRequest TransferWindow::request() const {
  TransferRequest request;
  request.ledgers = typedLedgersNumber(mClient->text().toStdString());
  request.folder = mPeriod->currentText().toStdString();
  request.allTransactions = mAllTransactions->isChecked();
  request.allPeriods = mAllPeriods->isChecked();
  return request;
}

void TransferWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    mActions.accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace lum
