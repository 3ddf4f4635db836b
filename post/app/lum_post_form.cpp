#include "post/app/lum_post_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <utility>

#include "help/help_window.h"
#include "post/app/child_window.h"
#include "post/app/panel_window.h"
#include "post/app/start_utilities.h"
#include "post/backup/data_copies.h"
#include "post/backup/housekeeping_change.h"
#include "post/backup/journal_housekeeping.h"
#include "post/backup/single_entity.h"
#include "post/invoicing/invoice_editor.h"
#include "post/invoicing/invoice_window.h"
#include "post/invoicing/open_invoice.h"
#include "post/journals/account_panels.h"
#include "post/journals/account_transfer.h"
#include "post/journals/budget.h"
#include "post/journals/budget_panel.h"
#include "post/journals/journal_window.h"
#include "post/journals/open_journal.h"
#include "post/journals/progress_window.h"
#include "post/ledgers/transfer_accept.h"
#include "post/ledgers/transfer_choices.h"
#include "post/ledgers/transfer_window.h"
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

// The old screens measured in twips: 15 to a pixel at 96 dots an inch.
constexpr double kTwipsPerPixel = 15.0;

int toPixels(float twips) {
  return static_cast<int>(twips / kTwipsPerPixel);
}
float toTwips(int pixels) {
  return static_cast<float>(pixels * kTwipsPerPixel);
}

// The journal window's size in the window sizes file.
constexpr char kJournalSizeName[] = "JournalWindow";

}  // namespace

LumPostForm::LumPostForm(Session& session, QWidget* parent)
    : QMainWindow(parent), mSession(session), mMdiArea(new QMdiArea(this)) {
  setObjectName("LUMPostForm");
  setWindowTitle("Vazi Varur - V4");
  mMdiArea->setObjectName("MdiArea");

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(mMdiArea, 1);
  layout->addWidget(buildBanner());
  setCentralWidget(central);

  buildToolbar();
  buildMenus();
  statusBar()->setObjectName("StatusBar");
  registerJournalWindow();
  registerReportWindows();
  registerInvoiceWindow();
  registerTransferWindow();
  resize(1100, 760);

  mHeartbeat.setObjectName("Timer1");
  mHeartbeat.setInterval(WorkAreaLock::kHeartbeat);
  connect(&mHeartbeat, &QTimer::timeout, this,
          [this] { run([this] { lockHeartbeat(mSession); }); });
}

LumPostForm::~LumPostForm() {
  // The child windows go first: the report viewer draws with the page
  // commands, which end with this window.
  for (QMdiSubWindow* window : mMdiArea->subWindowList()) {
    delete window;
  }
}

void LumPostForm::startHeartbeat() {
  mHeartbeat.start();
}

void LumPostForm::run(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    mSession.prompter().message(error.what(), Icon::Critical);
  }
}

QPushButton* LumPostForm::addCommand(QWidget* strip, const char* name, const char* caption,
                                     std::function<void()> action) {
  auto* button = new QPushButton(caption, strip);
  button->setObjectName(name);
  strip->layout()->addWidget(button);
  mControls[name] = button;
  if (!action) {
    action = [this, caption] { notAvailable(caption); };
  }
  connect(button, &QPushButton::clicked, this, [this, action] { run(action); });
  return button;
}

QAction* LumPostForm::addAction(QMenu* menu, const char* name, const char* caption,
                                std::function<void()> action) {
  QAction* item = menu != nullptr ? menu->addAction(caption) : menuBar()->addAction(caption);
  item->setObjectName(name);
  mControls[name] = item;
  if (!action) {
    action = [this, caption] { notAvailable(caption); };
  }
  connect(item, &QAction::triggered, this, [this, action] { run(action); });
  return item;
}

void LumPostForm::notAvailable(std::string_view caption) {
  std::string name(caption);
  std::erase(name, '&');  // the mnemonic's marker
  mSession.prompter().message(name + " is not available in this version.");
}

bool LumPostForm::hasContent(int index) const {
  switch (index) {
    case kJournalGrid:
    case kReportDisplay:
    case kFinancialReports:
    case kFontSelection:
    case kProgress:
    case kTransfer:
    case kGstDetails:
      return true;
    default:
      return mSession.panel(index) != nullptr;
  }
}

void LumPostForm::openBuilt(int index, const char* caption) {
  if (!hasContent(index)) {
    notAvailable(caption);
    return;
  }
  openUnlessCurrent(index);
}

void LumPostForm::askReportDate(ReportCode code) {
  if (mReportRun->askReportDate(code)) {
    openWindow(mSession, kReportDisplay);
  }
}

void LumPostForm::requestReport(ReportCode code) {
  mSession.reportRequests[code] = 1;
  openWindow(mSession, kReportDisplay);
}

void LumPostForm::printTaxInvoice(int invoice) {
  mReportRun->requestTaxInvoice(invoice);
  openWindow(mSession, kReportDisplay);
}

void LumPostForm::openUnlessCurrent(int index) {
  if (mSession.currentWindow != index) {
    openWindow(mSession, index);
  }
}

void LumPostForm::buildToolbar() {
  auto* toolbar = addToolBar("Commands");
  toolbar->setObjectName("Picture1");
  toolbar->setMovable(false);
  auto* strip = new QWidget(toolbar);
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(4, 2, 4, 2);

  addCommand(strip, "Command1", "E&xit", [this] { exitCommand(mSession); });
  // A command given no action says that it is not available yet.
  addCommand(strip, "Command2", "Export", [this] { backUpToFloppy(mSession); });
  addCommand(strip, "Command3", "Import", [this] { restoreFromFloppy(mSession); });
  mDiskToggle = addCommand(strip, "Command4", "Floppy Disk",
                           [this] { workFrom(mSession, mDiskToggle->text() == "Floppy Disk"); });
  addCommand(strip, "Command5", "GST Report", [this] { requestReport(ReportCode::Gst); });
  addCommand(strip, "Command6", "Trans to Ledgers",
             [this] { openBuilt(kTransfer, "Trans to Ledgers"); });
  addCommand(strip, "Command7", "Trial Balance",
             [this] { requestReport(ReportCode::TrialBalance); });
  addCommand(strip, "Command8", "Ledgers", [this] { requestReport(ReportCode::JournalLedgers); });
  addCommand(strip, "Command9", "Storage", [this] { startUtilities(mSession, *mStarter); });
  addCommand(strip, "Command10", "Clear All", [this] { eraseWorkingData(mSession); });

  auto* periodLabel = new QLabel("GST Period", strip);
  periodLabel->setObjectName("Label1");
  row->addWidget(periodLabel);
  mPeriods = new QComboBox(strip);
  mPeriods->setObjectName("Combo1");
  mPeriods->setMinimumContentsLength(9);
  periodLabel->setBuddy(mPeriods);
  row->addWidget(mPeriods);
  mControls["Combo1"] = mPeriods;
  connect(mPeriods, &QComboBox::activated, this,
          [this](int entry) { run([this, entry] { selectGstPeriod(mSession, entry); }); });

  auto* modeLabel = new QLabel("Mode", strip);
  modeLabel->setObjectName("Label2");
  row->addWidget(modeLabel);
  mMode = new QLabel("Hard Disk", strip);
  mMode->setObjectName("Label3");
  row->addWidget(mMode);
  mControls["Label3"] = mMode;
  row->addStretch();
  toolbar->addWidget(strip);
}

void LumPostForm::buildMenus() {
  addAction(nullptr, "Ext", "E&xit", [this] { exitCommand(mSession); });

  QMenu* utilities = menuBar()->addMenu("&Utilities");
  utilities->menuAction()->setObjectName("Utils");
  mControls["Utils"] = utilities->menuAction();
  addAction(utilities, "Cler", "&Clear Journal", [this] {
    if (mOpenJournal && mSession.currentWindow == kJournalGrid) {
      mOpenJournal->clearJournal();
      mJournalLeaving = true;
      closeWindow(mSession);
      mJournalLeaving = false;
      openWindow(mSession, kJournalGrid);
    }
  });
  addAction(utilities, "ReSot", "Re &Sort Journal", [this] {
    if (auto* journal = journalWindow()) {
      journal->recheck(false);
    }
  });
  addAction(utilities, "ExtoFpy", "&Export to Floppy Disk", [this] { backUpToFloppy(mSession); });
  addAction(utilities, "ImFlpy", "&Import from Floppy Disk",
            [this] { restoreFromFloppy(mSession); });
  addAction(utilities, "WFrmFlpy", "Work from &Floppy Disk", [this] { workFrom(mSession, true); });
  addAction(utilities, "WFrmHard", "Work from &Hard Disk", [this] { workFrom(mSession, false); });
  addAction(utilities, "FontSel", "Font Se&lection",
            [this] { openWindow(mSession, kFontSelection); });
  addAction(utilities, "PeekM", "&Peek Other Operator's Accounts", [this] { peek(mSession); });
  addAction(utilities, "ClearRatio", "Clear Account GST Exempt &Ratios",
            [this] { clearExemptRatios(mSession); });
  addAction(utilities, "Restorlar", "Restore &pre imported data",
            [this] { restoreFromBackupFolder(mSession); });
  addAction(utilities, "Update4", "&Transfer Data from Ver 3 to Ver 4 Location",
            [this] { takeOverOlderData(mSession); });
  addAction(utilities, "FixRowCollar", "Fi&x Row and Column Counters",
            [this] { functionKey(mSession, PanelKey::F3); });
  addAction(utilities, "ConvSinglelar", "Extract &Single Entities from Multi Entity Files",
            [this] { convertToSingleEntity(mSession); });
  addAction(utilities, "UndoHk", "&Undo Last Housekeeping...",
            [this] { undoLastHousekeeping(mSession); });

  QMenu* budgets = menuBar()->addMenu("&Budgets");
  budgets->menuAction()->setObjectName("Budgt");
  mControls["Budgt"] = budgets->menuAction();
  installBudgetWindow(mSession);
  addAction(budgets, "PostBud", "Post Budgets", [this] { openBuilt(kBudget, "Post Budgets"); });
  addAction(budgets, "ResBudgt", "ReCalculate Actuals", [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    recalculateActuals(mSession);
    QApplication::restoreOverrideCursor();
  });

  addAction(nullptr, "Entiy", "&Entity", [this] { openWindow(mSession, kEntitiesList); });
  addAction(nullptr, "Configer", "&Configuration",
            [this] { openWindow(mSession, kConfiguration); });
  addAction(nullptr, "CloseYM", "C&lose Year", [this] { closeYear(mSession); });
  addAction(nullptr, "DelPerM", "Clea&r Sel Period", [this] { clearSelectedPeriod(mSession); });
  addAction(nullptr, "FinRepM", "&Financial Reports",
            [this] { openUnlessCurrent(kFinancialReports); });

  QMenu* billing = menuBar()->addMenu("&Billing");
  billing->menuAction()->setObjectName("InvM");
  mControls["InvM"] = billing->menuAction();
  addAction(billing, "InvAllM", "&List All Invoices",
            [this] { askReportDate(ReportCode::AllInvoices); });
  addAction(billing, "InvUnpM", "&Unpaid Invoices",
            [this] { askReportDate(ReportCode::UnpaidInvoices); });
  addAction(billing, "InvODM", "&Overdue Invoices",
            [this] { askReportDate(ReportCode::OverdueInvoices); });
  addAction(billing, "StatsM", "&Statements",
            [this] { openBuilt(kClientSelection, "Statements"); });
  addAction(billing, "CusListM", "&Customers List",
            [this] { askReportDate(ReportCode::CustomersList); });
  addAction(billing, "ProListM", "&Products List",
            [this] { askReportDate(ReportCode::ProductsList); });

  addAction(nullptr, "HelpM", "&Help", [this] { showHelp(); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, [this] { showHelp(); });
}

void LumPostForm::showHelp() {
  if (mHelp.isNull()) {
    mHelp = new HelpWindow(HelpProgram::LumPost, this);
  }
  mHelp->showWindowHelp(mSession.currentWindow);
}

QWidget* LumPostForm::buildBanner() {
  auto* banner = new QWidget(this);
  banner->setObjectName("Entity");
  auto* layout = new QHBoxLayout(banner);
  layout->setContentsMargins(3, 3, 3, 3);
  mBanner = new QLineEdit(banner);
  mBanner->setObjectName("Text1");
  mBanner->setReadOnly(true);
  mBanner->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(mBanner);
  return banner;
}

void LumPostForm::registerReportWindows() {
  mScreenPage = std::make_unique<ScreenPageDevice>();
  mReportPages = std::make_unique<ReportPages>(mSession, *mScreenPage);
  ReportRunHooks hooks;
  hooks.closeCurrentWindow = [this] { closeWindow(mSession); };
  hooks.progressOpen = [this] { openWindow(mSession, kProgress); };
  hooks.progress = [this](int done, int total) {
    if (const auto it = mWindows.find(kProgress); it != mWindows.end() && it->second) {
      if (auto* progress = qobject_cast<ProgressWindow*>(it->second->widget())) {
        progress->setProgress(done, total);
      }
    }
  };
  hooks.progressClose = [this] {
    if (mSession.currentWindow == kProgress) {
      closeWindow(mSession);
    }
  };
  mReportRun = std::make_unique<ReportRun>(mSession, *mReportPages, std::move(hooks));
  mClientSelection = &installClientSelection(mSession, *mReportRun,
                                             [this] { openWindow(mSession, kReportDisplay); });
  WindowActions viewer;
  // Showing the viewer runs the report requested.
  viewer.prepare = [this] { mReportRun->runReports(); };
  // Closed any other way than by Re-run, the code must not stay past the
  // report shown, or the same report could not be asked for again.
  viewer.release = [this] {
    mReportRun->viewerClosed();
    mReportPages->filesClosed();
  };
  mSession.setWindowActions(kReportDisplay, std::move(viewer));
}

JournalWindow* LumPostForm::journalWindow() const {
  const auto it = mWindows.find(kJournalGrid);
  return it == mWindows.end() || !it->second ? nullptr
                                             : qobject_cast<JournalWindow*>(it->second->widget());
}

void LumPostForm::registerJournalWindow() {
  WindowActions actions;
  actions.prepare = [this] {
    mOpenJournal = std::make_shared<OpenJournal>(
        mSession,
        [this](int invoice) {
          InvoiceBook book(mSession);
          clearInvoice(book, invoice, mSession.ops(), mSession.rollbackFolder());
        },
        std::exchange(mJournalAsked, 0));
  };
  actions.release = [this] {
    if (mOpenJournal) {
      mOpenJournal->close();
    }
  };
  // Leaving the journal other than by saving it asks whether to abandon the editing.
  actions.mayLeave = [this] { return mJournalLeaving || !mOpenJournal || mOpenJournal->abandon(); };
  mSession.setWindowActions(kJournalGrid, std::move(actions));
  installAccountWindows(
      mSession,
      JournalInView{[this] { return mOpenJournal ? &mOpenJournal->journal() : nullptr; },
                    [this] { return mOpenJournal ? mOpenJournal->editor().column() : 0; }});
  mSession.functionKeyActions[0] = [this] {
    mSession.backLinks[kAccountNames] = kJournalGrid;
    openWindow(mSession, kAccountNames);
  };
  // F3 (also the menu's "Fix Row and Column Counters"), F4 and F5 act on
  // the journal grid only; the grid shows the outcome when the key returns.
  const auto onJournal = [this](bool (OpenJournal::*tool)()) {
    return [this, tool] {
      if (mOpenJournal && mSession.currentWindow == kJournalGrid) {
        ((*mOpenJournal).*tool)();
        if (auto* journal = journalWindow()) {
          journal->refresh();
        }
      }
    };
  };
  mSession.functionKeyActions[1] = onJournal(&OpenJournal::fixCounts);
  mSession.functionKeyActions[2] = onJournal(&OpenJournal::deleteRowsBefore);
  mSession.functionKeyActions[3] = onJournal(&OpenJournal::deleteRowsAfter);
}

InvoiceWindow* LumPostForm::invoiceWindow() const {
  const auto it = mWindows.find(kInvoice);
  return it == mWindows.end() || !it->second ? nullptr
                                             : qobject_cast<InvoiceWindow*>(it->second->widget());
}

void LumPostForm::registerInvoiceWindow() {
  WindowActions actions;
  // The invoicing files close with the invoice; the window forwards nothing more.
  actions.release = [this] {
    if (auto* window = invoiceWindow()) {
      window->detach();
    }
    mOpenInvoice.reset();
  };
  mSession.setWindowActions(kInvoice, std::move(actions));
}

TransferWindow* LumPostForm::transferWindow() const {
  const auto it = mWindows.find(kTransfer);
  return it == mWindows.end() || !it->second ? nullptr
                                             : qobject_cast<TransferWindow*>(it->second->widget());
}

void LumPostForm::showProgress(int done, int total) {
  if (const auto it = mWindows.find(kProgress); it != mWindows.end() && it->second) {
    if (auto* progress = qobject_cast<ProgressWindow*>(it->second->widget())) {
      progress->setProgress(done, total);
    }
  }
}

// The transfer takes the choices the window shows when it is accepted.
void LumPostForm::registerTransferWindow() {
  TransferShow show;
  show.progressOpen = [this] { openWindow(mSession, kProgress); };
  show.progress = [this](int done, int total) { showProgress(done, total); };
  show.progressClose = [this] {
    if (mSession.currentWindow == kProgress) {
      closeWindow(mSession);
    }
  };
  installTransferWindow(
      mSession,
      [this] {
        const TransferWindow* window = transferWindow();
        return window != nullptr ? window->request() : initialTransferRequest(mSession);
      },
      std::move(show));
}

void LumPostForm::openInvoice() {
  if (!mOpenJournal) {
    return;
  }
  auto invoice = std::make_shared<OpenInvoice>(mSession, *mOpenJournal);
  // A row whose reference names no invoice is told so, and no window opens.
  if (!invoice->open()) {
    return;
  }
  mOpenInvoice = std::move(invoice);
  openWindow(mSession, kInvoice);
}

void LumPostForm::showWindow(int index, WindowPosition position) {
  const WindowSpec& entry = windowSpec(index);
  if (entry.formName[0] == '\0') {
    return;  // a run with no window of its own
  }
  QPointer<ChildWindow>& window = mWindows[index];
  const bool opening = window.isNull();
  if (opening) {
    // Only the window on top may be closed: the dispatch closes the current one.
    window = new ChildWindow(index, [this, index] {
      if (mSession.currentWindow == index) {
        run([this] { closeWindow(mSession); });
      }
    });
    window->setObjectName(entry.formName);
    window->setWidget(makeContent(index));
    window->setWindowTitle(entry.caption);
    mMdiArea->addSubWindow(window);
  }
  if (index == kJournalGrid && mOpenJournal) {
    window->setWindowTitle(QString::fromStdString(mOpenJournal->caption()));
  }
  window->move(toPixels(position.left), toPixels(position.top));
  if (index == kJournalGrid && opening) {
    mWindowSizes.setOperator(mSession.login.groupNumber, mSession.login.operatorNumber);
    sizeOnOpening(*window, mMdiArea->viewport()->size(), mWindowSizes.size(kJournalSizeName));
  }
  if (index == kReportDisplay || (index == kGstDetails && opening)) {
    // A page needs room: the viewer takes the work space from where it stands.
    const QSize room = mMdiArea->viewport()->size() - QSize(window->x(), window->y());
    window->resize(room.expandedTo(QSize(640, 480)));
  }
  window->show();
  window->setEnabled(true);
}

void LumPostForm::unloadWindow(int index) {
  const auto it = mWindows.find(index);
  if (it != mWindows.end()) {
    const QPointer<ChildWindow> window = it->second;
    mWindows.erase(it);
    if (window && index == kJournalGrid) {
      keepSizeOnClosing(*window, mMdiArea->viewport()->size(), mWindowSizes, kJournalSizeName);
    }
    if (window) {
      window->unload();
    }
  }
}

void LumPostForm::unloadAllWindows() {
  while (!mWindows.empty()) {
    unloadWindow(mWindows.begin()->first);
  }
}

WindowPosition LumPostForm::windowPosition(int index) const {
  const auto it = mWindows.find(index);
  if (it == mWindows.end() || it->second.isNull()) {
    return {};
  }
  return WindowPosition{toTwips(it->second->x()), toTwips(it->second->y())};
}

void LumPostForm::setWindowEnabled(int index, bool enabled) {
  if (const auto it = mWindows.find(index); it != mWindows.end() && it->second) {
    it->second->setEnabled(enabled);
  }
}

void LumPostForm::focusWindow(int index) {
  const auto it = mWindows.find(index);
  if (it == mWindows.end() || it->second.isNull()) {
    return;
  }
  mMdiArea->setActiveSubWindow(it->second);
  if (auto* list = qobject_cast<PanelWindow*>(it->second->widget())) {
    list->focusCurrentBox();
  } else if (auto* journal = qobject_cast<JournalWindow*>(it->second->widget())) {
    journal->focusGrid();
  } else if (auto* details = qobject_cast<GstDetailsWindow*>(it->second->widget())) {
    details->setFocus();
    details->refresh();
  } else {
    it->second->widget()->setFocus();
  }
}

void LumPostForm::applyCommandStates(const CommandStates& states) {
  for (const auto& [name, enabled] : states) {
    const auto it = mControls.find(name);
    if (it == mControls.end()) {
      continue;
    }
    if (auto* action = qobject_cast<QAction*>(it->second)) {
      action->setEnabled(enabled);
    } else if (auto* widget = qobject_cast<QWidget*>(it->second)) {
      widget->setEnabled(enabled);
    }
  }
}

void LumPostForm::showMainWindowState(const MainWindowState& state) {
  mBanner->setText(QString::fromStdString(state.entityBanner));
  {
    const QSignalBlocker blocker(mPeriods);
    mPeriods->clear();
    for (const auto& entry : state.gstPeriods) {
      mPeriods->addItem(QString::fromStdString(entry));
    }
    mPeriods->setCurrentIndex(state.selectedGstPeriod);
  }
  mDiskToggle->setText(state.workingFromFloppy ? "Hard Disk" : "Floppy Disk");
  mMode->setText(state.workingFromFloppy ? "Floppy" : "Hard Disk");
}

void LumPostForm::endProgram() {
  mEnding = true;
  mHeartbeat.stop();
  QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void LumPostForm::showStatus(const std::string& text) {
  statusBar()->showMessage(QString::fromStdString(text));
}

void LumPostForm::closeEvent(QCloseEvent* event) {
  if (mEnding) {
    event->accept();
    return;
  }
  // Closing the main window is the Exit command: it may be refused.
  event->ignore();
  run([this] { exitCommand(mSession); });
}

}  // namespace lum
