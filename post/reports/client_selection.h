#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "post/login/window_hooks.h"
#include "post/reports/invoice_documents.h"

namespace lum {

class ReportRun;

// Which customers get statements: all of them, a range typed into the
// first two boxes, or the one typed into the third.
enum class ClientChoice { All, Range, Selected };

// The customers a choice gives: a range limited to 1 to the number of
// customers in use; a chosen customer outside them gives none (first
// above last). A box that is no number counts as 0.
CustomerRange customerRangeOf(ClientChoice choice, const std::array<std::string, 3>& boxes,
                              int customersInUse);

// Window 9, "Selection of Clients": the panel's three boxes (first and
// last of a range, one chosen client), the options All (Option1), Range
// (Option2) and Selected (Option3), OK (Command2) and Esc (Command1).
class ClientSelection final : public WindowHooks {
 public:
  static constexpr int kFirstBox = 0;
  static constexpr int kLastBox = 1;
  static constexpr int kChosenBox = 2;

  // showViewer opens the report viewer once the statements are requested.
  ClientSelection(Session& session, ReportRun& reports, std::function<void()> showViewer);

  // Option1 to Option3: the boxes the choice needs are enabled, the first
  // of them takes the focus.
  void choose(ClientChoice choice);
  ClientChoice choice() const { return mChoice; }
  // Command2: stores what was typed, closes the window, asks the report
  // date and requests the statements of the customers chosen. Choosing no
  // customer at all is told and keeps the window open.
  void accept();

  // The panel.
  int lineCount() const override { return 3; }
  void fillDetail(std::vector<std::string>& boxes) override;
  std::string detailLabel(int row) const override;
  void storeListLine(int record, const std::vector<std::string>& texts) override;

 private:
  void applyChoice();

  ReportRun& mReports;
  std::function<void()> mShowViewer;
  ClientChoice mChoice = ClientChoice::All;
  std::array<std::string, 3> mTexts{};
};

// Gives window 9 its panel; the selection lives as long as the session's panels.
ClientSelection& installClientSelection(Session& session, ReportRun& reports,
                                        std::function<void()> showViewer);

}  // namespace lum
