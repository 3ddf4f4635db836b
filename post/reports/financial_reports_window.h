#pragma once

#include <QWidget>
#include <functional>

#include "post/reports/profit_and_loss.h"

class QRadioButton;

namespace lum {

// The financial reports window FincRep: the period option ("Selected
// Period Only" or "All Periods") and its commands. Command2 hands the
// choice to the program, Command1 closes.
class FinancialReportsWindow final : public QWidget {
  Q_OBJECT

 public:
  FinancialReportsWindow(std::function<void(ProfitAndLossPeriods)> profitAndLoss,
                         std::function<void()> close, QWidget* parent = nullptr);

  ProfitAndLossPeriods periods() const;

 private:
  QRadioButton* mSelectedOnly;
  QRadioButton* mAllPeriods;
};

}  // namespace lum
