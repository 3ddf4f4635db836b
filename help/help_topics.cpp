#include "help/help_topics.h"

#include <algorithm>

#include "help/manual_anchors.h"
#include "post/login/window_table.h"
#include "utils/utils_session.h"

namespace lum {
namespace {

constexpr int utils(UtilsWindow window) {
  return static_cast<int>(window);
}

// The one table from windows to sections: a renamed heading is caught by
// the help tests, which look for each anchor in the manual.
constexpr HelpTopic kTopics[] = {
    {HelpProgram::LumPost, kJournalsList, "the-journals-list"},
    {HelpProgram::LumPost, kJournalGrid, "the-journal-window"},
    {HelpProgram::LumPost, kJournalDetails, "journal-details"},
    {HelpProgram::LumPost, kAccountList, "analysis-accounts"},
    {HelpProgram::LumPost, kAccountNames, "analysis-accounts"},
    {HelpProgram::LumPost, kAccountDetails, "analysis-accounts"},
    {HelpProgram::LumPost, kBudget, "budgets"},
    {HelpProgram::LumPost, kEntitiesList, "the-entities-list-and-the-entity-details"},
    {HelpProgram::LumPost, kEntityDetails, "the-entities-list-and-the-entity-details"},
    {HelpProgram::LumPost, kTransfer, "transfer-to-the-ledgers"},
    {HelpProgram::LumPost, kClientSelection, "statements"},
    {HelpProgram::LumPost, kReportDisplay, "the-report-viewer"},
    {HelpProgram::LumPost, kGstDetails, "the-gst-reports-details"},
    {HelpProgram::LumPost, kConfiguration, "configuration"},
    {HelpProgram::LumPost, kFontSelection, "fonts-of-the-reports"},
    {HelpProgram::LumPost, kFinancialReports, "profit-and-loss-and-the-other-reports"},
    {HelpProgram::LumPost, kInvoice, "the-invoice-window"},
    {HelpProgram::LumUtils, utils(UtilsWindow::Main), "storage-and-mail-lumutils"},
    {HelpProgram::LumUtils, utils(UtilsWindow::Store), "store-away"},
    {HelpProgram::LumUtils, utils(UtilsWindow::Restore), "bring-back"},
    {HelpProgram::LumUtils, utils(UtilsWindow::StoreFolder), "the-storage-folders"},
    {HelpProgram::LumUtils, utils(UtilsWindow::EmailFolder), "the-storage-folders"},
    {HelpProgram::LumUtils, utils(UtilsWindow::PreviousFolder), "the-storage-folders"},
    {HelpProgram::LumUtils, utils(UtilsWindow::Mail), "mail-to-the-accountant"},
};

}  // namespace

std::span<const HelpTopic> helpTopics() {
  return kTopics;
}

std::string_view helpSection(HelpProgram program, int window) {
  const auto* topic = std::find_if(std::begin(kTopics), std::end(kTopics), [&](const auto& t) {
    return t.program == program && t.window == window;
  });
  return topic != std::end(kTopics) ? topic->anchor : kContentsAnchor;
}

}  // namespace lum
