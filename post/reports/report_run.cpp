#include "post/reports/report_run.h"

#include <fmt/core.h>

#include "panel/dates.h"
#include "platform/text.h"
#include "post/invoicing/invoice_book.h"
#include "post/journals/journal_files.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/login/session.h"
#include "post/login/window_table.h"
#include "post/render/report_pages.h"
#include "post/reports/invoice_pages.h"
#include "post/reports/journal_ledgers.h"
#include "post/reports/report_period.h"
#include "post/reports/report_writing.h"
#include "post/reports/trial_balance.h"

namespace lum {
namespace {

constexpr int kRightEdge = 195;

}  // namespace

ReportRun::ReportRun(Session& session, ReportPages& pages, ReportRunHooks hooks)
    : mSession(session), mPages(pages), mHooks(std::move(hooks)) {}

RecordFile& ReportRun::file(std::string_view logicalName) {
  return mSession.registry().isOpen(logicalName) ? mSession.file(logicalName)
                                                 : *mSession.open(logicalName);
}

int ReportRun::selectedJournal() const {
  return mHooks.selectedJournal ? mHooks.selectedJournal()
                                : mSession.currentLine(kJournalsList) + 1;
}

bool ReportRun::askReportDate(ReportCode code) {
  {
    file("counters");  // the book reads its counters there
    const InvoiceBook book(mSession);
    mInvoicesInUse = book.counter(EntityCounter::Invoices);
  }
  const std::string today = formatDate(mSession.clock().today());
  const auto answer =
      mSession.prompter().input(InputPrompt{"Enter date for the report", "Report Date", today});
  const std::string date = answer ? normaliseDate(*answer, mSession.clock()) : std::string();
  if (date.empty()) {
    mSession.prompter().message("Date entered is not admissible");
    return false;
  }
  mReportDate = date;
  mSession.reportRequests[code] = 1;
  return true;
}

void ReportRun::requestTaxInvoice(int invoice) {
  mTaxInvoice = invoice;
  mSession.reportRequests[ReportCode::TaxInvoice] = 1;
}

bool ReportRun::prepareProfitAndLoss(ProfitAndLossPeriods periods) {
  auto prepared = lum::prepareProfitAndLoss(mSession, periods);
  if (!prepared) {
    return false;
  }
  tell(prepared->damage);
  mProfitAndLoss = profitAndLossOf(prepared->table);
  mProfitAndLossPeriods = periods;
  mSession.reportRequests[ReportCode::ProfitAndLoss] = 1;
  return true;
}

int ReportRun::leftMargin() const {
  return static_cast<int>(mPages.yazan().leftMargin());
}

void ReportRun::runReports() {
  auto& counts = mSession.reportRequests;
  const LoginValues& login = mSession.login;
  Yazan& yazan = mPages.yazan();
  yazan.setNextDevice(OutputDevice::Recording);
  // The work area's counters, closed again unless a window had them open.
  const bool countersOpen = mSession.registry().isOpen("EntCoun");
  mStorageNumber =
      file("EntCoun").get<CounterRecord>(static_cast<int>(WorkAreaCounter::StorageNumber)).value;
  if (!countersOpen) {
    mSession.registry().close("EntCoun");
  }
  mPeriodTitle = lum::periodTitle(login.setup.periodKind, login.periodLetter);
  if (yazan.device() == OutputDevice::Recording) {
    for (ReportCode code = kFirstReport; code < kLastReport; code = nextReportCode(code)) {
      counts[code] = std::min<std::int16_t>(counts[code], 1);
    }
  }
  // The journals list keeps its current line: no report here moves it.

  while (true) {
    while (isReport(mCode) && counts[mCode] < 1) {
      mCode = nextReportCode(mCode);
    }
    if (mCode == ReportCode::SetUp) {
      setUp();
      mCode = kFirstReport;
      continue;
    }
    if (!isReport(mCode)) {
      mCode = ReportCode::SetUp;
      if (mHooks.closeCurrentWindow) {
        mHooks.closeCurrentWindow();
      }
      return;
    }
    mOnView = mCode;
    for (int copy = 0; copy < counts[mCode]; ++copy) {
      produce(mCode);
    }
    counts[mCode] = 0;
    mCode = nextReportCode(mCode);
    break;  // the screen shows one report a run
  }
  finishReportRun();
  for (ReportCode code = kFirstReport; isReport(code); code = nextReportCode(code)) {
    counts[code] = 0;
  }
}

void ReportRun::setUp() {
  mPages.beginRun([this] { beginReportPage(); });
  if (mSession.reportRequests[ReportCode::Gst] < 1) {
    return;
  }
  const std::string periodText =
      periodListText(mSession.login.setup.periodKind, mSession.login.periodLetter);
  if (periodText != mGstPeriodText) {
    mSession.login.reportTotalsComputed = false;
  }
  if (mSession.login.reportTotalsComputed && mGst) {
    return;
  }
  if (mHooks.progressOpen) {
    mHooks.progressOpen();
  }
  mGstPeriodText = periodText;
  mGst = gatherGstFigures(mSession, mHooks.progress);
  mSession.login.reportTotalsComputed = true;
  if (mHooks.progressClose) {
    mHooks.progressClose();
  }
  tell(mGst->damage);
}

void ReportRun::tell(const DamageFound& damage) {
  for (const std::string& message : damage.messages()) {
    mSession.prompter().message(message);
  }
  if (!damage.countProblem.empty()) {
    mDamageTold.countProblem = damage.countProblem;
  }
  mDamageTold.journals.insert(mDamageTold.journals.end(), damage.journals.begin(),
                              damage.journals.end());
}

void ReportRun::produce(ReportCode code) {
  const ReportWriting out{mPages.writer(), leftMargin(), [this] { beginReportPage(); }};
  switch (code) {
    case ReportCode::Gst: {
      std::vector<std::string> names;
      for (std::size_t j = 1; j <= mGst->journals.size(); ++j) {
        names.push_back(file("Jnl").get<JournalHeaderRecord>(static_cast<int>(j)).name);
      }
      writeGstReport(out, *mGst, names,
                     mSession.login.reportOption.find("ACCOUNT") != std::string::npos);
      break;
    }
    case ReportCode::TrialBalance:
    case ReportCode::JournalLedgers:
      // A report of one journal: a damaged one leaves nothing to write.
      try {
        if (code == ReportCode::TrialBalance) {
          writeTrialBalance(out, trialBalanceOf(mSession, selectedJournal()));
        } else if (mSession.ops().exists(
                       JournalFiles(mSession, selectedJournal()).path("GrdRecs"))) {
          writeJournalLedgers(out, journalLedgersOf(mSession, selectedJournal()));
        }
      } catch (const JournalDamaged& damaged) {
        tell(DamageFound{{}, {damaged.damage()}});
      }
      break;
    case ReportCode::ProfitAndLoss: {
      if (!mProfitAndLoss) {
        break;  // requested without its preparation
      }
      const LoginValues& login = mSession.login;
      const std::string offered =
          profitAndLossPeriodText(mProfitAndLossPeriods, login.setup.periodKind, login.periodLetter,
                                  mSession.clock().today());
      // Cancelled, the line offered stands.
      mPeriodTitle = mSession.prompter()
                         .input(InputPrompt{"Date for the report", "Report Date", offered})
                         .value_or(offered);
      writeProfitAndLoss(out, *mProfitAndLoss);
      break;
    }
    case ReportCode::TaxInvoice:
    case ReportCode::AllInvoices:
    case ReportCode::UnpaidInvoices:
    case ReportCode::OverdueInvoices:
    case ReportCode::Statements:
    case ReportCode::CustomersList:
    case ReportCode::ProductsList:
      produceInvoicing(code, out);
      break;
    default:
      mSession.prompter().message(
          fmt::format("The report \"{}\" is not available in this version.", titleOf(code)));
      return;
  }
  mPages.setReportName(nameOf(code));
}

ReportName ReportRun::nameOf(ReportCode code) {
  const LoginValues& login = mSession.login;
  ReportName name;
  name.entity = trim(file("Ent").get<EntityRecord>(login.entityNumber).name);
  name.title = titleOf(code);
  const std::string selected =
      periodName(login.setup.periodKind, login.periodLetter, login.gstDate);
  if (code == ReportCode::ProfitAndLoss) {
    // The line of its heading, unless it names the selected period as offered.
    std::string_view line = trim(mPeriodTitle);
    for (const std::string_view lead : {"For the ", "For "}) {
      if (line.starts_with(lead)) {
        line.remove_prefix(lead.size());
        break;
      }
    }
    name.period = mPeriodTitle == lum::periodTitle(login.setup.periodKind, login.periodLetter)
                      ? selected
                      : std::string(line);
  } else if (code >= ReportCode::Gst && code <= ReportCode::ProfitAndLoss) {
    name.period = selected;
  } else {
    const auto date = parseDate(mReportDate, mSession.clock());
    name.period = "as at " + (date ? longDate(*date) : mReportDate);
  }
  return name;
}

void ReportRun::produceInvoicing(ReportCode code, const ReportWriting& out) {
  file("counters");
  InvoiceBook book(mSession);
  mLetterhead = Letterhead::of(file("Ent").get<EntityRecord>(mSession.login.entityNumber));
  try {
    produceDocuments(code, book, out);
  } catch (...) {
    mInvoiceOnPage.reset();
    mStatementOnPage = nullptr;
    throw;
  }
  mInvoiceOnPage.reset();
  mStatementOnPage = nullptr;
  // What was found damaged, told once, after the pages.
  const std::vector<std::string> problems = book.takeNewProblems();
  if (!problems.empty()) {
    std::string text;
    for (const std::string& problem : problems) {
      text += (text.empty() ? "" : "\n") + problem;
    }
    mSession.prompter().message(text);
  }
}

void ReportRun::produceDocuments(ReportCode code, InvoiceBook& book, const ReportWriting& out) {
  const Clock& clock = mSession.clock();
  const Date asAt = parseDate(mReportDate, clock).value_or(clock.today());
  // Each document begins the viewer's PDF of its own.
  const auto documentStart = [this](std::string name) {
    return ReportWriting{mPages.writer(), leftMargin(), [this, name] {
                           beginReportPage();
                           mPages.beginDocument(name);
                         }};
  };
  switch (code) {
    case ReportCode::TaxInvoice:
      mInvoiceOnPage = taxInvoiceOf(book, mTaxInvoice, mLetterhead.name, clock);
      if (!mInvoiceOnPage) {
        mSession.prompter().message(fmt::format("Invoice {} holds nothing to print.", mTaxInvoice));
        return;
      }
      writeTaxInvoice(documentStart(fmt::format("Invoice {}", mTaxInvoice)), *mInvoiceOnPage);
      break;
    case ReportCode::AllInvoices:
    case ReportCode::UnpaidInvoices:
    case ReportCode::OverdueInvoices: {
      const InvoiceListKind kind = code == ReportCode::AllInvoices      ? InvoiceListKind::All
                                   : code == ReportCode::UnpaidInvoices ? InvoiceListKind::Unpaid
                                                                        : InvoiceListKind::Overdue;
      writeInvoiceList(out, invoiceListOf(book, kind, asAt, clock));
      break;
    }
    case ReportCode::Statements: {
      const std::vector<Statement> statements =
          statementsOf(book, mStatementCustomers, asAt, clock);
      if (statements.empty()) {
        mSession.prompter().message(
            fmt::format("No customer has invoices unpaid as at {}.", formatDate(asAt)));
      }
      for (const Statement& statement : statements) {
        mStatementOnPage = &statement;
        const std::string& name = statement.customer.name;
        writeStatement(
            documentStart("Statement " +
                          (name.empty() ? documentNumber(statement.customer.number) : name)),
            statement);
      }
      break;
    }
    case ReportCode::CustomersList:
      writeCustomersList(out, book.customers());
      break;
    case ReportCode::ProductsList:
      writeProductsList(out, book.products());
      break;
    default:
      break;
  }
}

std::string ReportRun::titleOf(ReportCode code) {
  switch (code) {
    case ReportCode::Gst:
      return "GST Report";
    case ReportCode::TrialBalance:
      return "Trial Balance";
    case ReportCode::JournalLedgers: {
      const int journal = selectedJournal();
      const std::string name(trimRight(file("Jnl").get<JournalHeaderRecord>(journal).name));
      return fmt::format("Ledgers for Journal No: {} {}", journal, name);
    }
    case ReportCode::ProfitAndLoss:
      return "Profit & Loss Statement";
    case ReportCode::TaxInvoice:
      return "Tax Invoice";
    case ReportCode::AllInvoices:
      return "List of All Invoices";
    case ReportCode::UnpaidInvoices:
      return "List of Unpaid Invoices";
    case ReportCode::OverdueInvoices:
      return "List of Overdue Invoices";
    case ReportCode::Statements:
      return "Statement";
    case ReportCode::CustomersList:
      return "Customers List";
    case ReportCode::ProductsList:
      return "Products/Services List";
    default:
      return {};
  }
}

void ReportRun::beginReportPage() {
  mPages.writer().beginPage();
  if (isReport(mCode)) {
    writePageHeading(titleOf(mCode));
  }
}

void ReportRun::writePageHeading(const std::string& title) {
  PageWriter page = mPages.writer();
  // The documents are headed as the customer receives them.
  if (mCode == ReportCode::TaxInvoice && mInvoiceOnPage) {
    writeTaxInvoiceHeading(page, mLetterhead, *mInvoiceOnPage);
    return;
  }
  if (mCode == ReportCode::Statements && mStatementOnPage) {
    writeStatementHeading(page, mLetterhead, *mStatementOnPage, mReportDate);
    return;
  }
  const int l = leftMargin();
  const ReportCode code = mCode;
  page.moveTo(0, static_cast<int>(page.topMargin()));
  if (code == ReportCode::Gst) {
    page.size(10);
    page.text(kRightEdge, fmt::format("Storage No: {}", mStorageNumber), Align::Right);
    page.newLine();
  }
  const auto entity = file("Ent").get<EntityRecord>(mSession.login.entityNumber);
  const int nameAt = code == ReportCode::ProfitAndLoss ? 5 : l;
  page.size(14);
  page.bold();
  page.text(nameAt, trim(entity.name), Align::Left);
  if (code == ReportCode::Gst) {
    page.text(kRightEdge, "ABN: " + std::string(trim(entity.abn)), Align::Right);
  }
  page.newLine();
  page.text(nameAt, trim(entity.secondNameLine), Align::Left);
  page.newLine();
  page.size(12);
  page.text(l, title, Align::Left);
  page.newLine();
  writePeriodLines(page, l);
  page.text(kRightEdge, fmt::format("Page {}", page.pageNumber()), Align::Right);
  page.newLine();
  page.newLine();
  page.rule(0, kRightEdge);
  page.newLine();
  writeHeadingColumns(page, l);
}

// What the heading says after the title: the journal, the basis, the period.
void ReportRun::writePeriodLines(PageWriter page, int l) {
  const ReportCode code = mCode;
  if (code == ReportCode::Gst) {
    page.size(10);
  } else if (code == ReportCode::TrialBalance) {
    page.text(l, trim(file("Jnl").get<JournalHeaderRecord>(selectedJournal()).name), Align::Left);
    page.newLine();
    page.size(8);
  } else if (code == ReportCode::JournalLedgers) {
    page.size(8);
  } else if (code == ReportCode::ProfitAndLoss) {
    page.size(8);
    if (mSession.login.setup.invoicing == "Y" && mSession.login.setup.gstType == "C") {
      page.text(5, "Prepared on Cash Basis", Align::Left);
      page.newLine();
    }
  }
  if (code >= ReportCode::Gst && code <= ReportCode::ProfitAndLoss) {
    page.text(code == ReportCode::ProfitAndLoss ? 5 : l, mPeriodTitle, Align::Left);
  } else {
    page.text(l, "As at " + mReportDate, Align::Left);
  }
}

void ReportRun::writeHeadingColumns(PageWriter page, int l) {
  const ReportWriting out{page, l, [this] { beginReportPage(); }};
  switch (mCode) {
    case ReportCode::Gst:
      writeGstHeadingColumns(out, GstSettings::of(mSession.login.setup));
      break;
    case ReportCode::TrialBalance:
      writeTrialBalanceHeadingColumns(out);
      break;
    case ReportCode::AllInvoices:
    case ReportCode::UnpaidInvoices:
    case ReportCode::OverdueInvoices:
      writeInvoiceListHeadingColumns(page);
      break;
    case ReportCode::CustomersList:
      writeCustomersListHeadingColumns(page);
      break;
    case ReportCode::ProductsList:
      writeProductsListHeadingColumns(page);
      break;
    case ReportCode::ProfitAndLoss:
      page.text(173, "$", Align::Right);
      page.text(193, "$", Align::Right);
      page.regular();
      break;
    default:
      page.regular();
      break;
  }
}

void ReportRun::finishReportRun() {
  mPages.finishRun();
}

}  // namespace lum
