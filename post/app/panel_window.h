#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace lum {

class ClientSelection;
class InputPanelWidget;
class Session;

// A window whose body is an input panel: the journals and entities lists,
// the journal and entity details, the account list and the configuration
// list, the client selection of the statements, each with its own buttons
// (and, for the entity details, the set-up choices; for the client
// selection, All, Range and Selected; for the budget, its Total line).
class PanelWindow final : public QWidget {
  Q_OBJECT

 public:
  using Runner = std::function<void(const std::function<void()>&)>;

  PanelWindow(Session& session, int index, Runner run, QWidget* parent = nullptr);
  // Window 9, over its selection's logic.
  PanelWindow(Session& session, ClientSelection& selection, Runner run, QWidget* parent = nullptr);

  void focusCurrentBox();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void addButton(const char* name, const char* caption, std::function<void()> action);
  QWidget* buildEntityChoices();
  QWidget* buildTransferChoices();
  QWidget* buildBudgetTotals();
  void showBudgetTotals();
  // The template option chosen in the journal details, if any.
  std::optional<int> chosenTemplate() const;
  QWidget* buildClientChoices(ClientSelection& selection);

  Session& mSession;
  int mIndex;
  Runner mRun;
  InputPanelWidget* mPanel;
  QWidget* mButtons;
  std::array<QRadioButton*, 4> mTemplates{};
  QLineEdit* mTotalSales = nullptr;
  QLineEdit* mTotalCost = nullptr;
  QLabel* mRatio = nullptr;
  QLabel* mPeriod = nullptr;
};

}  // namespace lum
