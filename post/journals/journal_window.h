#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "post/journals/journal_editor.h"

class QLabel;
class QLineEdit;

namespace lum {

class FlexGrid;
class OpenJournal;
class Session;

// The journal window LUMForm: the grid, the edit box (Text1), the row
// balance (Text2), the column and row (Label15, Label16), the totals of
// the visible columns (InBox), the budget frame (Frame1) and the commands
// Command1 to Command11. It shows what the open journal's editor holds and
// forwards the grid's events to it.
class JournalWindow final : public QWidget {
  Q_OBJECT

 public:
  using Runner = std::function<void(const std::function<void()>&)>;
  // What the window asks of the program: close it, or close and open it again.
  struct Actions {
    std::function<void()> close;
    std::function<void()> reopen;
    std::function<void()> accountDetails;   // a double click on the grid
    std::function<void()> invoice;          // the invoice of the current row
    std::function<void()> importStatement;  // a bank statement's lines as rows
    // The progress window of a long run: opened, moved on, closed.
    std::function<void()> progressOpen;
    std::function<void(int, int)> progress;
    std::function<void()> progressClose;
  };

  JournalWindow(Session& session, std::shared_ptr<OpenJournal> journal, Actions actions, Runner run,
                QWidget* parent = nullptr);
  ~JournalWindow() override;

  void focusGrid();
  // Opens on the row given (from 1) instead of where the journal would.
  void startAt(int row);
  // Shows the journal again after a change made from outside the grid.
  void refresh() { display(); }
  // The journal recheck, full or quick, with its progress window.
  void recheck(bool quick);
  FlexGrid* grid() const { return mGrid; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  class Source;

  // Shows the editor's state: cells, edit box, balance, totals, budget frame.
  void display();
  // The totals of the columns in sight.
  void showTotals();
  void placeTotals();
  QWidget* buildBudgetFrame();
  void addCommand(QWidget* strip, const char* name, const char* caption,
                  std::function<void()> action);

  Session& mSession;
  std::shared_ptr<OpenJournal> mJournal;
  Actions mActions;
  Runner mRun;
  std::unique_ptr<Source> mSource;
  FlexGrid* mGrid = nullptr;
  QLineEdit* mEditBox = nullptr;
  QLineEdit* mRowBalance = nullptr;
  QLabel* mColumnLabel = nullptr;
  QLabel* mRowLabel = nullptr;
  QWidget* mTotalsStrip = nullptr;
  QLabel* mTotalsCaption = nullptr;
  std::array<QLineEdit*, JournalEditor::kTotalsBoxes> mTotals{};
  std::array<QLabel*, 6> mBudget{};
  bool mShown = false;
  int mStartRow = 0;  // 0: where the editor opens
};

}  // namespace lum
