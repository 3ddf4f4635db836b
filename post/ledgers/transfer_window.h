#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "post/ledgers/ledgers_transfer.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace lum {

// The transactions transfer window Transac (window 7): the ledgers client
// number (InBox), the ledgers period (Combo1), the transfer type (Option1
// new transactions only, Option2 all) and the periods (Option3 all,
// Option4 the current one), OK (Command1) and Esc (Command2). It shows the
// choices and hands OK and Esc to the program; Enter is OK.
class TransferWindow final : public QWidget {
  Q_OBJECT

 public:
  struct Actions {
    std::function<void()> accept;
    std::function<void()> close;
  };

  TransferWindow(const TransferRequest& initial, const std::vector<std::string>& periods,
                 Actions actions, QWidget* parent = nullptr);

  // What the controls show now.
  TransferRequest request() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Actions mActions;
  QLineEdit* mClient;
  QComboBox* mPeriod;
  QRadioButton* mNewOnly;
  QRadioButton* mAllTransactions;
  QRadioButton* mAllPeriods;
  QRadioButton* mCurrentPeriod;
};

}  // namespace lum
