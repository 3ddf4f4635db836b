#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "post/reports/gst_trail.h"

class QLabel;
class QListWidget;
class QTableView;

namespace lum {

class GstTrailModel;
class Session;

// The GST report's details "GST Report Details": the report's columns and
// BAS labels in a list; the one chosen lists the amounts that make it
// (sortable by any column), with their total, the cents a whole-dollar
// label leaves out and the figure itself. "Not counted" lists the amounts
// the report left out and why. Double click or Enter on a row opens its
// journal at that row. The trail of the figure on view, or of the whole
// report, can be saved as CSV.
class GstDetailsWindow final : public QWidget {
  Q_OBJECT

 public:
  struct Actions {
    std::function<void(int journal, int row)> openRow;
    std::function<void()> close;
    // Says in a line what was done (the status bar).
    std::function<void(const std::string&)> status;
  };

  // reportName: the report's file name without its extension
  // ("Smith Plumbing GST Report September Quarter 2026").
  GstDetailsWindow(Session& session, std::string reportName, Actions actions,
                   QWidget* parent = nullptr);

  // Lists the amounts of the list's item: the report's figures in order,
  // then "Not counted" (kNotCounted).
  void choose(int item);
  static constexpr int kNotCounted = 27;
  // Back in front: after a journal was opened from here, its figure is
  // gathered again, since the journal may have changed.
  void refresh();
  // Saves the trail of the figure on view, or of the whole report, as CSV.
  void saveCsv(bool wholeReport);
  // The file a CSV is saved in, offered a name; empty: not saved. By
  // default a save dialog in the user's documents (tests answer it).
  void setFileChooser(std::function<QString(const QString& offered)> chooser) {
    mFileChooser = std::move(chooser);
  }
  QTableView* table() const { return mTable; }
  QString totalsText() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void openRowAt(int line);

  Session& mSession;
  std::string mReportName;
  Actions mActions;
  std::function<QString(const QString&)> mFileChooser;
  std::optional<TrailFigure> mFigure;  // none: "Not counted" on view
  bool mJournalOpened = false;
  QListWidget* mFigures;
  QLabel* mTitle;
  GstTrailModel* mModel;
  QTableView* mTable;
  QLabel* mTotals;
};

}  // namespace lum
