// The content of each child window of LumPost's main window, built when
// the window is first shown.

#include <QWidget>

#include "post/app/child_window.h"
#include "post/app/lum_post_form.h"
#include "post/app/panel_window.h"
#include "post/invoicing/invoice_window.h"
#include "post/invoicing/open_invoice.h"
#include "post/journals/journal_window.h"
#include "post/journals/open_journal.h"
#include "post/journals/progress_window.h"
#include "post/journals/statement_import_window.h"
#include "post/ledgers/transfer_choices.h"
#include "post/ledgers/transfer_window.h"
#include "post/login/detail_panels.h"
#include "post/login/main_commands.h"
#include "post/login/window_dispatch.h"
#include "post/login/work_area.h"
#include "post/render/font_dialog.h"
#include "post/render/rep_disp.h"
#include "post/render/report_pages.h"
#include "post/reports/client_selection.h"
#include "post/reports/financial_reports_window.h"
#include "post/reports/gst_details_window.h"
#include "post/reports/report_run.h"

namespace lum {
namespace {

// Windows whose contents come later: their caption, at a size fit for
// their table entry (the label width is in twips, 15 to a pixel).
QWidget* shellContent(int index) {
  auto* content = new QWidget;
  const WindowSpec& entry = windowSpec(index);
  const int rows = entry.visibleLines > 0 ? entry.visibleLines : 12;
  const int boxes = entry.kind > 0 ? entry.kind : 2;
  content->setMinimumSize(
      static_cast<int>(static_cast<float>(entry.labelWidthTwips) / 15.0F) + boxes * 220 + 40,
      rows * 28 + 60);
  return content;
}

}  // namespace

QWidget* LumPostForm::makeContent(int index) {
  if (index == kJournalGrid && mOpenJournal) {
    return makeJournalWindow();
  }
  if (index == kProgress) {
    return new ProgressWindow;
  }
  if (index == kInvoice && mOpenInvoice) {
    InvoiceWindow::Actions actions;
    actions.close = [this] { closeWindow(mSession); };
    actions.print = [this](int invoice) { printTaxInvoice(invoice); };
    return new InvoiceWindow(mOpenInvoice, std::move(actions),
                             [this](const std::function<void()>& command) { run(command); });
  }
  if (index == kReportDisplay) {
    return makeReportViewer();
  }
  if (index == kGstDetails) {
    return makeGstDetails();
  }
  if (index == kFinancialReports) {
    return new FinancialReportsWindow(
        [this](ProfitAndLossPeriods periods) {
          run([this, periods] {
            if (mReportRun->prepareProfitAndLoss(periods)) {
              openWindow(mSession, kReportDisplay);
            }
          });
        },
        [this] { run([this] { closeWindow(mSession); }); });
  }
  if (index == kTransfer) {
    TransferWindow::Actions actions;
    actions.accept = [this] { run([this] { acceptAndClose(mSession); }); };
    actions.close = [this] { run([this] { closeWindow(mSession); }); };
    return new TransferWindow(initialTransferRequest(mSession), ledgersPeriodChoices(mSession),
                              std::move(actions));
  }
  if (index == kFontSelection) {
    mFontList = std::make_unique<FontList>(mSession.registry().isOpen("FontList")
                                               ? mSession.file("FontList")
                                               : *mSession.open("FontList"));
    auto* dialog =
        new FontDialog(*mFontList, [this](const std::string&) { applyChosenFont(mSession); });
    dialog->setDone([this] { closeWindow(mSession); });
    dialog->prepare();
    return dialog;
  }
  if (index == kClientSelection && mSession.panel(index) != nullptr) {
    return new PanelWindow(mSession, *mClientSelection,
                           [this](const std::function<void()>& command) { run(command); });
  }
  if (mSession.panel(index) != nullptr) {
    return new PanelWindow(mSession, index,
                           [this](const std::function<void()>& command) { run(command); });
  }
  return shellContent(index);
}

QWidget* LumPostForm::makeJournalWindow() {
  JournalWindow::Actions actions;
  actions.close = [this] {
    mJournalLeaving = true;
    closeWindow(mSession);
    mJournalLeaving = false;
  };
  actions.reopen = [this, close = actions.close] {
    close();
    openWindow(mSession, kJournalGrid);
  };
  actions.accountDetails = [this] { openWindow(mSession, kAccountDetails); };
  actions.invoice = [this] { openInvoice(); };
  actions.importStatement = [this] {
    if (!mOpenJournal) {
      return;
    }
    // What was typed in the current cell goes in first, and afterwards the
    // cell shows what it holds: the import may have filled its row.
    JournalEditor& editor = mOpenJournal->editor();
    editor.leaveCell();
    StatementImportWindow window(mSession, *mOpenJournal, journalWindow());
    window.setFileChooser(mStatementChooser);
    if (window.chooseFile() && window.exec() == QDialog::Accepted) {
      editor.enterCell(editor.row(), editor.column());
      if (JournalWindow* journal = journalWindow()) {
        journal->refresh();
      }
    }
  };
  actions.progressOpen = [this] { openWindow(mSession, kProgress); };
  actions.progress = [this](int done, int total) {
    if (const auto it = mWindows.find(kProgress); it != mWindows.end() && it->second) {
      if (auto* progress = qobject_cast<ProgressWindow*>(it->second->widget())) {
        progress->setProgress(done, total);
      }
    }
  };
  actions.progressClose = [this] {
    if (mSession.currentWindow == kProgress) {
      closeWindow(mSession);
    }
  };
  return new JournalWindow(mSession, mOpenJournal, std::move(actions),
                           [this](const std::function<void()>& command) { run(command); });
}

QWidget* LumPostForm::makeReportViewer() {
  ReportViewer::Actions actions;
  // Re-run: with every request cleared the run closes the viewer.
  actions.rerun = [this] { run([this] { mReportRun->runReports(); }); };
  actions.archive = [this] {
    run([this] { mReportArchive.archiveReport(mSession, mReportPages->yazan()); });
  };
  // Invoices and statements are saved as PDF one document at a time.
  actions.documentAt = [this](int page) { return mReportPages->documentAt(page); };
  actions.reportName = [this] { return mReportPages->reportName(); };
  actions.status = [this](const std::string& text) { showStatus(text); };
  actions.hasDetails = [this] { return mReportRun->reportOnView() == ReportCode::Gst; };
  actions.details = [this] { run([this] { openWindow(mSession, kGstDetails); }); };
  auto* viewer = new RepDisp(mReportPages->yazan(), *mScreenPage, mSession.ops(),
                             mSession.prompter(), std::move(actions));
  viewer->reportReady();
  return viewer;
}

QWidget* LumPostForm::makeGstDetails() {
  GstDetailsWindow::Actions actions;
  actions.openRow = [this](int journal, int row) {
    run([this, journal, row] { openJournalAt(journal, row); });
  };
  actions.close = [this] {
    run([this] {
      if (mSession.currentWindow == kGstDetails) {
        closeWindow(mSession);
      }
    });
  };
  actions.status = [this](const std::string& text) { showStatus(text); };
  const auto& name = mReportPages->reportName();
  std::string fileName = name ? pdfFileName(*name) : std::string("GST Report.pdf");
  fileName.resize(fileName.size() - 4);  // without ".pdf"
  return new GstDetailsWindow(mSession, fileName, std::move(actions));
}

void LumPostForm::openJournalAt(int journal, int row) {
  if (mSession.currentWindow != kGstDetails) {
    return;  // a journal is open over the details already
  }
  mSession.backLinks[kJournalGrid] = kGstDetails;
  mJournalAsked = journal;
  openWindow(mSession, kJournalGrid);
  if (JournalWindow* window = journalWindow()) {
    window->startAt(row);
  }
}

}  // namespace lum
