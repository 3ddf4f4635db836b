#include "post/reports/client_selection.h"

#include <fmt/core.h>

#include <algorithm>
#include <memory>

#include "platform/text.h"
#include "post/login/login_records.h"
#include "post/login/window_dispatch.h"
#include "post/reports/report_run.h"

namespace lum {
namespace {

int numberIn(const std::string& box) {
  const double number = leadingNumber(box);
  return number >= -1e9 && number <= 1e9 ? static_cast<int>(number) : 0;
}

}  // namespace

CustomerRange customerRangeOf(ClientChoice choice, const std::array<std::string, 3>& boxes,
                              int customersInUse) {
  CustomerRange range{1, customersInUse};
  if (choice == ClientChoice::Range) {
    range = {numberIn(boxes[0]), numberIn(boxes[1])};
  } else if (choice == ClientChoice::Selected) {
    // One customer that is not there is no other customer's statement.
    const int chosen = numberIn(boxes[2]);
    return chosen >= 1 && chosen <= customersInUse ? CustomerRange{chosen, chosen}
                                                   : CustomerRange{1, 0};
  }
  const int most = std::max(customersInUse, 1);
  range.first = std::clamp(range.first, 1, most);
  range.last = std::min(std::clamp(range.last, 1, most), customersInUse);
  return range;
}

ClientSelection::ClientSelection(Session& session, ReportRun& reports,
                                 std::function<void()> showViewer)
    : WindowHooks(session), mReports(reports), mShowViewer(std::move(showViewer)) {}

void ClientSelection::fillDetail(std::vector<std::string>& boxes) {
  boxes.assign(mTexts.begin(), mTexts.end());
  applyChoice();
}

std::string ClientSelection::detailLabel(int row) const {
  static constexpr std::array<const char*, 3> kLabels = {"First Client No", "Last Client No",
                                                         "Client No"};
  return row >= 0 && row < 3 ? kLabels[static_cast<std::size_t>(row)] : "";
}

void ClientSelection::storeListLine(int record, const std::vector<std::string>& texts) {
  if (record >= 1 && record <= 3 && !texts.empty()) {
    mTexts[static_cast<std::size_t>(record - 1)] = texts.front();
  }
}

void ClientSelection::choose(ClientChoice choice) {
  mChoice = choice;
  applyChoice();
  InputPanel* panel = mSession.panel(kClientSelection);
  if (panel != nullptr && choice != ClientChoice::All) {
    panel->focusGained(choice == ClientChoice::Range ? kFirstBox : kChosenBox);
  }
}

void ClientSelection::applyChoice() {
  InputPanel* panel = mSession.panel(kClientSelection);
  if (panel == nullptr) {
    return;
  }
  panel->setBoxEnabled(kFirstBox, mChoice == ClientChoice::Range);
  panel->setBoxEnabled(kLastBox, mChoice == ClientChoice::Range);
  panel->setBoxEnabled(kChosenBox, mChoice == ClientChoice::Selected);
}

void ClientSelection::accept() {
  if (InputPanel* panel = mSession.panel(kClientSelection); panel != nullptr) {
    panel->commitLine();
  }
  RecordFile& counters = mSession.registry().isOpen("counters") ? mSession.file("counters")
                                                                : *mSession.open("counters");
  const int customers = std::max<int>(
      counters.get<CounterRecord>(static_cast<int>(EntityCounter::Customers)).value, 0);
  const CustomerRange range = customerRangeOf(mChoice, mTexts, customers);
  if (range.first > range.last) {
    mSession.prompter().message(
        customers < 1
            ? std::string("There are no customers yet.")
            : fmt::format("There is no customer {}: the customers are numbered 1 to {}.",
                          trim(mTexts[mChoice == ClientChoice::Range ? 0 : 2]), customers));
    return;
  }
  mReports.setStatementCustomers(range);
  lum::closeWindow(mSession);
  if (mReports.askReportDate(ReportCode::Statements) && mShowViewer) {
    mShowViewer();
  }
}

ClientSelection& installClientSelection(Session& session, ReportRun& reports,
                                        std::function<void()> showViewer) {
  auto hooks = std::make_unique<ClientSelection>(session, reports, std::move(showViewer));
  ClientSelection& selection = *hooks;
  session.setPanelHooks(kClientSelection, std::move(hooks));
  return selection;
}

}  // namespace lum
