#include "post/journals/account_panels.h"

#include <fmt/core.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/text.h"
#include "post/login/window_dispatch.h"
#include "post/login/window_hooks.h"

namespace lum {
namespace {

constexpr int kDetailLines = 6;
constexpr int kRatioLine = 6;
constexpr const char* kRatioMessage = "Ratio must be between 0 and 1";

class AccountHooks : public WindowHooks {
 public:
  AccountHooks(Session& session, JournalInView inView)
      : WindowHooks(session), mInView(std::move(inView)) {}

 protected:
  JournalInView mInView;
};

// Window 8: the accounts of the open journal, name and type with GST code.
class AccountNamesHooks final : public AccountHooks {
 public:
  using AccountHooks::AccountHooks;

  int lineCount() const override {
    const Journal* journal = mInView.journal();
    return journal == nullptr ? 0 : journal->analysisColumns();
  }
  std::vector<std::string> fillListLine(int record) override {
    const Journal* journal = mInView.journal();
    if (journal == nullptr || record > journal->analysisColumns()) {
      return {"", ""};
    }
    const AnalysisColumn& column = journal->column(journal->lastFixedColumn() + record);
    return {column.name, column.accountType + column.gstCode};
  }
};

// Window 15: the account of the grid's current column.
class AccountDetailsHooks final : public AccountHooks {
 public:
  using AccountHooks::AccountHooks;

  int lineCount() const override { return kDetailLines; }

  void fillDetail(std::vector<std::string>& boxes) override {
    const Journal* journal = mInView.journal();
    const int c = mInView.column();
    if (journal == nullptr || !journal->isAnalysisColumn(c)) {
      return;
    }
    const AnalysisColumn& column = journal->column(c);
    boxes = {column.name,
             column.gstCode,
             column.accountType,
             std::to_string(column.ledgersAccount),
             fmt::format("{}", column.basClassification),
             fmt::format("{}", column.exemptRatio)};
  }

  std::string detailLabel(int row) const override {
    static constexpr std::array<const char*, kDetailLines> kLabels = {
        "Account Name",
        "GST Y:App N:Not App C:Comb T:Net",
        "Account Type",
        "General Ledgers Account Number",
        "Bas Statement Classification",
        "Ratio Exempt From GST"};
    return row >= 0 && row < kDetailLines ? kLabels[static_cast<std::size_t>(row)] : "";
  }

  // A ratio outside 0 to 1 is told and set to 0.
  bool checkLine(int line) override {
    if (line == kRatioLine) {
      InputPanel& panel = *mSession.panel(kAccountDetails);
      const double ratio = leadingNumber(panel.boxText(kRatioLine - 1));
      if (ratio < 0 || ratio > 1) {
        mSession.prompter().message(kRatioMessage);
        panel.setBoxText(kRatioLine - 1, "0");
      }
    }
    return true;
  }
};

}  // namespace

void installAccountWindows(Session& session, JournalInView inView) {
  session.setPanelHooks(kAccountNames, std::make_unique<AccountNamesHooks>(session, inView));
  session.setPanelHooks(kAccountDetails, std::make_unique<AccountDetailsHooks>(session, inView));
  WindowActions details;
  details.accept = [&session, inView] {
    Journal* journal = inView.journal();
    return journal == nullptr || acceptAccountDetails(session, *journal, inView.column());
  };
  session.setWindowActions(kAccountDetails, std::move(details));
}

bool acceptAccountDetails(Session& session, Journal& journal, int column) {
  if (!journal.isAnalysisColumn(column)) {
    return true;
  }
  InputPanel& panel = *session.panel(kAccountDetails);
  const double ratio = leadingNumber(panel.boxText(kRatioLine - 1));
  if (ratio < 0 || ratio > 1) {
    session.prompter().message(kRatioMessage);
    panel.setBoxText(kRatioLine - 1, "0");
    return false;
  }
  AnalysisColumn& account = journal.column(column);
  account.name = leftCharacters(panel.boxText(0), 23);
  account.gstCode = leftCharacters(toUpper(trim(panel.boxText(1))), 1);
  account.accountType = leftCharacters(toUpper(trim(panel.boxText(2))), 1);
  account.ledgersAccount = static_cast<std::int16_t>(
      std::clamp(std::trunc(leadingNumber(panel.boxText(3))), -32768.0, 32767.0));
  account.basClassification = static_cast<float>(leadingNumber(panel.boxText(4)));
  account.exemptRatio = static_cast<float>(ratio);
  return true;
}

}  // namespace lum
