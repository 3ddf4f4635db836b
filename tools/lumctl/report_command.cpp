#include "tools/lumctl/report_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <sstream>

#include "platform/text.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/render/painter_page_device.h"
#include "post/render/report_pages.h"
#include "post/render/text_page_device.h"
#include "post/reports/gst_figures.h"
#include "post/reports/journal_ledgers.h"
#include "post/reports/profit_and_loss.h"
#include "post/reports/report_run.h"
#include "post/reports/trial_balance.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/offscreen_application.h"
#include "tools/lumctl/record_json.h"
#include "tools/lumctl/render_command.h"
#include "tools/lumctl/report_invoice_command.h"
#include "tools/lumctl/report_trail.h"
#include "tools/lumctl/settled_reading.h"

namespace lum {
namespace {

using nlohmann::ordered_json;

ordered_json amounts(const GstRow& row) {
  ordered_json array = ordered_json::array();
  for (const Currency value : row) {
    array.push_back(currencyText(value));
  }
  return array;
}

// Tells each damaged file found; true when there was one.
bool tell(const DamageFound& damage, Prompter& prompter) {
  for (const std::string& message : damage.messages()) {
    prompter.message(message);
  }
  return damage.any();
}

// The GST report's figures: each journal with a figure, the totals, the
// BAS labels G1 to G20 and the net GST liability.
ordered_json gstJson(Session& session, Prompter& prompter, bool& damaged) {
  const GstFigures figures = gatherGstFigures(session);
  damaged = tell(figures.damage, prompter);
  ordered_json journals = ordered_json::array();
  for (std::size_t j = 0; j < figures.journals.size(); ++j) {
    const GstRow& row = figures.journals[j];
    if (allZero(row)) {
      continue;
    }
    const int number = static_cast<int>(j) + 1;
    journals.push_back(
        {{"journal", number},
         {"name", std::string(trim(session.file("Jnl").get<JournalHeaderRecord>(number).name))},
         {"columns", amounts(row)}});
  }
  const GstRow totals = totalsOf(figures);
  const BasSummary summary = computeBas(totals, figures.accumulated);
  ordered_json bas = ordered_json::object();
  for (std::size_t label = 1; label < kBasLabels; ++label) {
    bas[fmt::format("G{}", label)] = currencyText(summary.labels[label]);
  }
  return {{"journals", journals},
          {"totals", amounts(totals)},
          {"bas", bas},
          {"net_gst_liability", currencyText(summary.netGstLiability)}};
}

std::string journalName(Session& session, int journal) {
  return std::string(trim(session.file("Jnl").get<JournalHeaderRecord>(journal).name));
}

// A debit or credit column as printed: the amount's size under its side.
void putSide(ordered_json& object, Currency amount) {
  object[amount >= Currency() ? "Debit" : "Credit"] =
      currencyText(amount >= Currency() ? amount : -amount);
}

// The figures of a report of one journal: none when it is damaged (told).
template <class Figures, class Compute>
Figures oneJournal(Compute compute, Prompter& prompter, bool& damaged) {
  try {
    return compute();
  } catch (const JournalDamaged& error) {
    damaged = tell(DamageFound{{}, {error.damage()}}, prompter);
    return Figures{};
  }
}

ordered_json trialBalanceJson(Session& session, int journal, Prompter& prompter, bool& damaged) {
  const auto balance =
      oneJournal<TrialBalance>([&] { return trialBalanceOf(session, journal); }, prompter, damaged);
  ordered_json lines = ordered_json::array();
  for (const TrialBalanceLine& line : balance.lines) {
    ordered_json object = {{"Account", std::string(trim(line.account))}};
    putSide(object, line.total);
    lines.push_back(object);
  }
  return {{"journal", journal},
          {"name", journalName(session, journal)},
          {"lines", lines},
          {"Totals",
           {{"Debit", currencyText(balance.debitTotal)},
            {"Credit", currencyText(-balance.creditTotal)}}}};
}

ordered_json ledgersJson(Session& session, int journal, Prompter& prompter, bool& damaged) {
  ordered_json accounts = ordered_json::array();
  const auto ledgers = oneJournal<std::vector<AccountLedger>>(
      [&] { return journalLedgersOf(session, journal); }, prompter, damaged);
  for (const AccountLedger& ledger : ledgers) {
    ordered_json lines = ordered_json::array();
    for (const LedgerLine& line : ledger.lines) {
      ordered_json object = {{"Date", line.date},
                             {"Details", std::string(trim(line.details))},
                             {"GST", line.gst},
                             {"Ref", line.reference}};
      putSide(object, line.amount);
      lines.push_back(object);
    }
    ordered_json total = ordered_json::object();
    putSide(total, ledger.total);
    accounts.push_back({{"Account", std::string(trim(ledger.account))},
                        {"Account Type", std::string(trim(ledger.type))},
                        {"GST Class", std::string(trim(ledger.gstApplies))},
                        {"GST Exempt Ratio", ledger.privateUseRatio},
                        {"Ledgers A/C No", ledger.ledgersAccount},
                        {"lines", lines},
                        {"Total", total}});
  }
  return {{"journal", journal}, {"name", journalName(session, journal)}, {"accounts", accounts}};
}

// The statement as printed: income and the profit lines negated, costs as held.
ordered_json profitAndLossJson(const ProfitAndLoss& statement, const std::string& period) {
  const auto accounts = [](const std::vector<AccountTotal>& list, bool income) {
    ordered_json array = ordered_json::array();
    for (const AccountTotal& account : list) {
      array.push_back({{"account", account.name},
                       {"$", currencyText(income ? -account.amount : account.amount)}});
    }
    return array;
  };
  ordered_json other = ordered_json::array();
  for (const AccountTotal& account : statement.other) {
    ordered_json object = {{"account", account.name}};
    putSide(object, account.amount);
    other.push_back(object);
  }
  return {{"period", period},
          {"sales", accounts(statement.sales, true)},
          {"total_gross_sales", currencyText(-ProfitAndLoss::sum(statement.sales))},
          {"cost_of_sales", accounts(statement.costOfSales, false)},
          {"total_cost_of_sales", currencyText(ProfitAndLoss::sum(statement.costOfSales))},
          {"gross_profit", currencyText(statement.grossProfit())},
          {"other_income", accounts(statement.otherIncome, true)},
          {"total_other_income", currencyText(-ProfitAndLoss::sum(statement.otherIncome))},
          {"expenses", accounts(statement.expenses, false)},
          {"total_expenses", currencyText(ProfitAndLoss::sum(statement.expenses))},
          {"net_profit", currencyText(statement.netProfit())},
          {"other_transactions", other}};
}

// Answers the statement's period-line box with --title when given, and
// says everything else as lumctl does.
class ReportPrompter final : public Prompter {
 public:
  ReportPrompter(Prompter& inner, std::string title) : mInner(inner), mTitle(std::move(title)) {}
  Answer ask(const Prompt& prompt) override { return mInner.ask(prompt); }
  std::optional<std::string> input(const InputPrompt& prompt) override {
    return mTitle.empty() ? mInner.input(prompt) : std::optional<std::string>(mTitle);
  }

 private:
  Prompter& mInner;
  std::string mTitle;
};

// Runs the report as the viewer does: its pages go to the page files, the
// session's private ones, drawn meanwhile on a page that is thrown away.
// damaged: the run left a damaged journal out (told).
bool recordReport(Session& session, const ReportOptions& options, int journal, bool& damaged) {
  OffscreenApplication application;
  QtTextMetrics metrics;
  std::ostringstream discarded;
  TextPageDevice screen(discarded, metrics);
  ReportPages pages(session, screen);
  ReportRunHooks hooks;
  hooks.selectedJournal = [journal] { return journal; };
  ReportRun run(session, pages, hooks);
  ReportCode code = ReportCode::Gst;
  if (options.report == "trial-balance") {
    code = ReportCode::TrialBalance;
  } else if (options.report == "ledgers") {
    code = ReportCode::JournalLedgers;
  } else if (options.report == "profit-and-loss") {
    code = ReportCode::ProfitAndLoss;
    if (!run.prepareProfitAndLoss(options.allPeriods ? ProfitAndLossPeriods::All
                                                     : ProfitAndLossPeriods::SelectedOnly)) {
      return false;
    }
  }
  session.reportRequests[code] = 1;
  run.runReports();
  damaged = run.damageTold().any();
  return true;
}

// The report's figures as JSON text; nothing when the report refuses (told).
std::optional<std::string> figuresJson(Session& session, const ReportOptions& options, int journal,
                                       Prompter& prompter, bool& damaged) {
  ordered_json figures;
  if (options.report == "gst") {
    figures = gstJson(session, prompter, damaged);
  } else if (options.report == "trial-balance") {
    figures = trialBalanceJson(session, journal, prompter, damaged);
  } else if (options.report == "ledgers") {
    figures = ledgersJson(session, journal, prompter, damaged);
  } else {
    const auto periods =
        options.allPeriods ? ProfitAndLossPeriods::All : ProfitAndLossPeriods::SelectedOnly;
    const auto prepared = prepareProfitAndLoss(session, periods);
    if (!prepared) {
      return std::nullopt;  // the reason went through the prompter
    }
    damaged = tell(prepared->damage, prompter);
    const std::string period =
        options.title.empty()
            ? profitAndLossPeriodText(periods, session.login.setup.periodKind,
                                      session.login.periodLetter, session.clock().today())
            : options.title;
    figures = profitAndLossJson(profitAndLossOf(prepared->table), period);
  }
  return figures.dump(2) + "\n";
}

// The report's pages, written to the session's private page files and
// replayed from there, as lumctl render does.
std::optional<std::string> pagesOf(Session& session, const ReportOptions& options, int journal,
                                   Prompter& prompter, const std::filesystem::path& pdfFile,
                                   std::ostream& err, bool& damaged) {
  if (!recordReport(session, options, journal, damaged)) {
    return std::nullopt;
  }
  if (damaged && !options.keepGoing) {
    return std::string();  // not replayed: nothing of it is given
  }
  FileRegistry& registry = session.registry();
  StoredPages stored;
  stored.commands = registry.file("DosyaYaz").path();
  stored.texts = registry.file("Kelam").path();
  registry.close("DosyaYaz");
  registry.close("Kelam");
  stored.settings = registry.isOpen("RepPar") ? &registry.file("RepPar") : nullptr;
  stored.pictures = [&session](std::string_view name) { return session.paths().resolve(name); };
  return replayPages(session.ops(), stored, "", options.format, pdfFile, prompter, err);
}

// What is wrong with the trail's options; "" when nothing.
std::string trailProblem(const ReportOptions& options) {
  if (!options.trail) {
    return options.format == "csv" ? "--format csv is for a trail (--trail)" : "";
  }
  if (options.report != "gst") {
    return "--trail is the GST report's (report gst)";
  }
  if (options.format != "json" && options.format != "csv") {
    return "--trail writes json or csv";
  }
  if (!options.trailFigure.empty() && !TrailFigure::parse(options.trailFigure)) {
    return fmt::format("--trail {}: a BAS label G1 to G20 or a report column C1 to C7",
                       options.trailFigure);
  }
  return "";
}

}  // namespace

int runReport(const GlobalOptions& global, const ReportOptions& options, std::ostream& out,
              std::ostream& err) {
  FileOps ops;
  return readSettled(ops, workAreaFolder(global), options.out, out, err, [&](Reading& reading) {
    StreamPrompter messages(reading.err);
    ReportPrompter prompter(messages, options.title);
    HeadlessLogin login(global, prompter);
    if (!login.openToRead(reading.files)) {
      return int{kExitRefused};
    }
    Session& session = login.session();
    if (!selectPeriod(session, options.period, reading.err)) {
      return int{kExitUsage};
    }
    const JournalCount journals = countJournals(session);
    const int journal = options.journal == 0 ? 1 : options.journal;
    if (options.report != "gst" && options.report != "profit-and-loss" &&
        (journal < 1 || journal > journals.count)) {
      if (!journals.problem.empty()) {
        prompter.message(journals.problem);
      }
      fmt::print(reading.err, "lumctl: the entity has no journal {} (it has {})\n", journal,
                 journals.count);
      return int{kExitRefused};
    }
    bool damaged = false;
    std::optional<std::string> answer;
    if (options.trail) {
      DamageFound damage;
      const auto figure = TrailFigure::parse(options.trailFigure).value_or(TrailFigure{});
      answer = gstTrailText(session, figure, options.format == "json", damage);
      damaged = tell(damage, prompter);
    } else if (options.format == "json") {
      answer = figuresJson(session, options, journal, prompter, damaged);
    } else {
      answer = pagesOf(session, options, journal, prompter, reading.scratch / "report.pdf",
                       reading.err, damaged);
    }
    if (!answer) {
      return int{kExitRefused};
    }
    // A damaged journal is left out and told; the figures of the rest are
    // given only when asked for, and the status says the report is not whole.
    if (damaged) {
      if (options.keepGoing) {
        reading.output = *answer;
        reading.keepOutput = true;
      }
      return int{kExitRefused};
    }
    reading.output = *answer;
    return int{kExitSuccess};
  });
}

void addReportCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<ReportOptions>();
  CLI::App* report = app.add_subcommand(
      "report", "Run a report for a GST period as the report windows do and write it to a file");
  std::vector<std::string> reports = {"gst", "trial-balance", "ledgers", "profit-and-loss"};
  reports.insert(reports.end(), invoiceReportNames().begin(), invoiceReportNames().end());
  report
      ->add_option("REPORT", options->report,
                   "The report: gst, trial-balance, ledgers, profit-and-loss; invoice, invoices, "
                   "unpaid, overdue, statements, customers, products")
      ->required()
      ->check(CLI::IsMember(reports));
  const auto invoicing = addInvoiceReportOptions(*report);
  report
      ->add_option("--journal", options->journal,
                   "The journal of the trial balance and the ledgers (default 1)")
      ->check(CLI::Range(1, 9999));
  report->add_flag("--all-periods", options->allPeriods,
                   "Profit and loss over every period of the scheme, not the selected one");
  report->add_option("--title", options->title,
                     "The profit and loss statement's period line, instead of the one it offers");
  report->add_option("--period", options->period,
                     std::string(kPeriodHelp) + " (default: the period the log-in chose)");
  report
      ->add_option("--format", options->format,
                   "What to write: pdf, text or plain, the pages (as lumctl render writes them: "
                   "plain is the pages as read, text a listing of what is drawn); json, the "
                   "figures; json or csv, the trail (--trail)")
      ->required()
      ->check(CLI::IsMember({"pdf", "text", "plain", "json", "csv"}));
  CLI::Option* trail =
      report
          ->add_option("--trail", options->trailFigure,
                       "The GST report's trail: the rows that make a figure, a BAS label G1 to "
                       "G20 or a report column C1 to C7 (none: the whole report), as json or csv")
          ->expected(0, 1);
  report->add_option("--out", options->out, "The file to write; - for the standard output")
      ->required();
  report->add_flag("--keep-going", options->keepGoing,
                   "Write the figures of the other journals when one is damaged (it is left "
                   "out and told; the exit status is still 1)");
  report->callback([&context, options, invoicing, trail] {
    options->trail = trail->count() > 0;
    if (const std::string problem = trailProblem(*options); !problem.empty()) {
      fmt::print(context.err, "lumctl: {}\n", problem);
      context.status = kExitUsage;
      return;
    }
    if (isInvoiceReport(options->report)) {
      context.status =
          context.workAreaThere()
              ? runInvoiceReport(context.options, *options, *invoicing, context.out, context.err)
              : kExitRefused;
      return;
    }
    context.status = context.workAreaThere()
                         ? runReport(context.options, *options, context.out, context.err)
                         : kExitRefused;
  });
}

}  // namespace lum
