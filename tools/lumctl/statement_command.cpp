#include "tools/lumctl/statement_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <algorithm>
#include <ostream>
#include <span>

#include "panel/money.h"
#include "platform/csv.h"
#include "platform/text.h"
#include "post/journals/bank_statement.h"
#include "post/journals/statement_import.h"
#include "post/login/file_registry.h"
#include "post/login/journal_records.h"
#include "post/login/session.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/journal_opening.h"
#include "tools/lumctl/settled_reading.h"

namespace lum {
namespace {

// A text file of the work area as UTF-8; "" when there is none. A reading
// takes it from its snapshot.
std::string areaText(Session& session, const std::filesystem::path& file, FileSource* source) {
  return statementFileText(session.ops(), source != nullptr ? source->readPath(file) : file);
}

// The rows that are added, as CSV: what each becomes and the rule that made it.
std::string rowsCsv(const Journal& journal, const StatementPlan& plan) {
  std::string csv = "line,date,particulars,ref,gst,amount,account,rule\n";
  for (const StatementRow& row : plan.rows) {
    if (row.duplicate) {
      continue;
    }
    csv +=
        fmt::format("{},{},{},{},{},{},{},{}\n", row.line.line, row.date, csvField(row.particulars),
                    csvField(row.reference), row.gst, formatMoney(row.amount),
                    row.rule != nullptr ? csvField(trim(journal.column(row.analysisColumn).name))
                                        : std::string(),
                    row.rule != nullptr ? fmt::format("{}", row.rule->line) : "unmatched");
  }
  return csv;
}

// Everything before the journal is touched: the statement read by its
// mapping and the entity's rules. Returns an exit status; the lines and
// rules through the out parameters.
int readStatement(Session& session, const StatementOptions& options, FileSource* source,
                  std::ostream& err, std::vector<StatementLine>& lines,
                  std::vector<StatementRule>& rules) {
  FileOps& ops = session.ops();
  if (!ops.exists(options.file)) {
    fmt::print(err, "lumctl: cannot read {}\n", options.file);
    return kExitRefused;
  }
  const std::string text = statementFileText(ops, options.file);
  StatementRead read;
  if (isOfxStatement(text)) {
    read = readOfxStatement(options.file);
  } else {
    std::optional<StatementMapping> mapping;
    if (!options.mapping.empty()) {
      mapping =
          findMapping(areaText(session, statementMappingsFile(session), source), options.mapping);
      if (!mapping) {
        fmt::print(err, "lumctl: {} has no mapping \"{}\"\n",
                   statementMappingsFile(session).filename().string(), options.mapping);
        return kExitRefused;
      }
    } else {
      mapping = guessMapping(text);
      if (!mapping) {
        fmt::print(err,
                   "lumctl: {}: its date and amount columns cannot be told; name them with "
                   "--mapping\n",
                   options.file);
        return kExitRefused;
      }
    }
    read = readCsvStatement(text, *mapping);
  }
  if (!read.problem.empty()) {
    fmt::print(err, "lumctl: {} {}\n", options.file, read.problem);
    return kExitRefused;
  }
  StatementRules parsed =
      parseStatementRules(areaText(session, statementRulesFile(session), source));
  if (!parsed.problem.empty()) {
    fmt::print(err, "lumctl: {} {}\n", statementRulesFile(session).filename().string(),
               parsed.problem);
    return kExitRefused;
  }
  lines = std::move(read.lines);
  rules = std::move(parsed.rules);
  return kExitSuccess;
}

// Plans and types the statement into the opened journal. Returns an exit
// status: refused when a line cannot be typed or a matched row is faulty
// (each told); the rows added as CSV through csv.
int typeStatement(Opened& opened, const StatementOptions& options, FileSource* source,
                  std::ostream& err, Journal& journal, std::string& csv) {
  Session& session = opened.login->session();
  std::vector<StatementLine> lines;
  std::vector<StatementRule> rules;
  if (const int status = readStatement(session, options, source, err, lines, rules);
      status != kExitSuccess) {
    return status;
  }
  journal = opened.files->load();
  const std::string kind(trim(session.file("Jnl").get<JournalHeaderRecord>(options.journal).type));
  const StatementPlan plan = planStatement(journal, kind == "I", lines, rules);
  for (const StatementRule* rule : plan.passedOver) {
    fmt::print(err, "lumctl: {} {}\n", statementRulesFile(session).filename().string(),
               passedOverNote(*rule));
  }
  const EditorContext context = typingContext(session);
  const TypingOutcome typed = typeRows(journal, context, rowsToType(plan), false);
  const auto tell = [&](const TypingProblem& problem) {
    tellTypingProblem(err, options.file, problem);
  };
  std::for_each(typed.typing.begin(), typed.typing.end(), tell);
  // An unmatched row is faulty until the user analyses it, and a row that
  // was there before is not this import's: neither stops it.
  bool faulty = !typed.typing.empty();
  for (const TypingProblem& problem : typed.check) {
    const auto row = std::find_if(plan.rows.begin(), plan.rows.end(), [&](const StatementRow& r) {
      return !r.duplicate && r.line.line == problem.line;
    });
    if (problem.line != 0 && row != plan.rows.end() && row->rule != nullptr) {
      tell(problem);
      faulty = true;
    }
  }
  const auto unmatched =
      std::count_if(plan.rows.begin(), plan.rows.end(),
                    [](const StatementRow& r) { return !r.duplicate && r.rule == nullptr; });
  if (unmatched > 0 && !faulty) {
    fmt::print(err, "lumctl: {} {} no rule: {} analysis is left to do in the journal window\n",
               unmatched, unmatched == 1 ? "line matches" : "lines match",
               unmatched == 1 ? "its" : "their");
  }
  csv = rowsCsv(journal, plan);
  return faulty ? kExitRefused : kExitSuccess;
}

}  // namespace

int importStatement(const GlobalOptions& global, const StatementOptions& options, std::ostream& out,
                    std::ostream& err) {
  JournalOptions journalOptions;
  journalOptions.journal = options.journal;
  journalOptions.period = options.period;
  if (options.dryRun) {
    FileOps ops;
    return readSettled(ops, workAreaFolder(global), "-", out, err, [&](Reading& reading) {
      StreamPrompter prompter(reading.err);
      Opened opened;
      if (const int status =
              openJournal(global, journalOptions, prompter, reading.err, opened, &reading.files);
          status != kExitSuccess) {
        return status;
      }
      Journal journal(PostingMode::SmallCashBusiness);
      const int status =
          typeStatement(opened, options, &reading.files, reading.err, journal, reading.output);
      return status;
    });
  }
  StreamPrompter prompter(err, false);
  Opened opened;
  try {
    if (const int status = openJournal(global, journalOptions, prompter, err, opened);
        status != kExitSuccess) {
      return status;
    }
    Journal journal(PostingMode::SmallCashBusiness);
    std::string csv;
    if (const int status = typeStatement(opened, options, nullptr, err, journal, csv);
        status != kExitSuccess) {
      return status;
    }
    opened.files->save(journal);
    opened.login->commitChange();
    out << csv;
    return kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

void addStatementCommand(CLI::App& journal, CommandContext& context) {
  auto options = std::make_shared<StatementOptions>();
  CLI::App* command = journal.add_subcommand(
      "import-statement",
      "Type a bank statement's lines into a journal as rows: the entity's rules fill their "
      "analysis column, GST letter and particulars; lines the journal holds are skipped");
  command->add_option("--journal", options->journal, "The journal")->required();
  command->add_option("--period", options->period, "The GST period")->required();
  command->add_option("FILE", options->file, "The statement, as the bank's CSV")->required();
  command->add_option("--mapping", options->mapping,
                      "The bank account whose column mapping is kept in the entity's "
                      "Banks file (default: told by the file's heading or first line)");
  command->add_flag("--dry-run", options->dryRun, "Print the rows it would add, changing nothing");
  command->callback([&context, options] {
    const bool there = options->dryRun ? context.workAreaThere() : context.workAreaToChange();
    context.status =
        there ? importStatement(context.options, *options, context.out, context.err) : kExitRefused;
  });
}

}  // namespace lum
