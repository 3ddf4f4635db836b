#include "post/reports/financial_reports_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lum {

FinancialReportsWindow::FinancialReportsWindow(
    std::function<void(ProfitAndLossPeriods)> profitAndLoss, std::function<void()> close,
    QWidget* parent)
    : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox("Selected Period", this);
  frame->setObjectName("Frame1");
  auto* options = new QVBoxLayout(frame);
  mSelectedOnly = new QRadioButton("&Selected Period Only", frame);
  mSelectedOnly->setObjectName("Option2");
  mSelectedOnly->setChecked(true);
  mAllPeriods = new QRadioButton("&All Periods", frame);
  mAllPeriods->setObjectName("Option1");
  options->addWidget(mSelectedOnly);
  options->addWidget(mAllPeriods);
  layout->addWidget(frame);

  auto* commands = new QHBoxLayout;
  auto* cancel = new QPushButton("&Cancel", this);
  cancel->setObjectName("Command1");
  auto* profitAndLossButton = new QPushButton("&Profit && Loss", this);
  profitAndLossButton->setObjectName("Command2");
  profitAndLossButton->setDefault(true);
  commands->addWidget(profitAndLossButton);
  commands->addWidget(cancel);
  layout->addLayout(commands);

  connect(cancel, &QPushButton::clicked, this, [close] { close(); });
  connect(profitAndLossButton, &QPushButton::clicked, this,
          [this, profitAndLoss] { profitAndLoss(periods()); });
}

ProfitAndLossPeriods FinancialReportsWindow::periods() const {
  return mAllPeriods->isChecked() ? ProfitAndLossPeriods::All : ProfitAndLossPeriods::SelectedOnly;
}

}  // namespace lum
