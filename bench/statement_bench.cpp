// A bank statement of 5,000 lines with 200 rules: read, planned into rows,
// and 2,000 of them (a journal period's most) typed through the editor,
// against typing the same rows from the CSV of lumctl journal import.

#include <benchmark/benchmark.h>
#include <fmt/core.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/csv.h"
#include "post/journals/bank_statement.h"
#include "post/journals/journal_typing.h"
#include "post/journals/statement_import.h"
#include "post/journals/statement_rules.h"

namespace lum {
namespace {

constexpr int kLines = 5000;
constexpr int kRules = 200;
constexpr int kTyped = Journal::kMaxRows;

// Lines of 250 payees over the September quarter; rules for 200 of them.
std::string statementCsv() {
  std::string csv = "Date,Amount,Description,Balance\n";
  for (int n = 0; n < kLines; ++n) {
    const int payee = (n * 7) % 250;
    const long long cents = (n % 3 == 0 ? 1 : -1) * (1000 + (n * 37) % 90000);
    csv += fmt::format("{:02}/{:02}/2026,{}.{:02},PAYEE {} REF {},1000.00\n", 1 + n % 28, 7 + n % 3,
                       cents / 100, std::abs(cents % 100), payee, n);
  }
  return csv;
}

std::string rulesText() {
  std::string text;
  for (int k = 0; k < kRules; ++k) {
    text += fmt::format("PAYEE {} REF | | | #{} | Y |\n", k, 1 + k % 90);
  }
  return text;
}

Journal emptyJournal() {
  return Journal(PostingMode::SmallCashBusiness);
}

EditorContext context(const Clock& clock) {
  EditorContext editor;
  editor.clock = &clock;
  editor.periodLetter = 'I';
  editor.quarterly = true;
  return editor;
}

void readStatement(benchmark::State& state) {
  const std::string csv = statementCsv();
  const StatementMapping mapping = *guessMapping(csv);
  for (auto _ : state) {
    benchmark::DoNotOptimize(readCsvStatement(csv, mapping));
  }
}
BENCHMARK(readStatement)->Unit(benchmark::kMillisecond);

void planStatementWithRules(benchmark::State& state) {
  const std::string csv = statementCsv();
  const auto lines = readCsvStatement(csv, *guessMapping(csv)).lines;
  const auto rules = parseStatementRules(rulesText()).rules;
  const Journal journal = emptyJournal();
  for (auto _ : state) {
    benchmark::DoNotOptimize(planStatement(journal, true, lines, rules));
  }
}
BENCHMARK(planStatementWithRules)->Unit(benchmark::kMillisecond);

// The statement's first 2,000 rows typed into an empty journal.
void typeStatementRows(benchmark::State& state) {
  const std::string csv = statementCsv();
  auto lines = readCsvStatement(csv, *guessMapping(csv)).lines;
  lines.resize(kTyped);
  const auto rules = parseStatementRules(rulesText()).rules;
  const FixedClock clock{DateTime{*Date::fromYmd(2026, 9, 30), 10, 0, 0}};
  for (auto _ : state) {
    Journal journal = emptyJournal();
    const StatementPlan plan = planStatement(journal, true, lines, rules);
    const TypingOutcome typed = typeRows(journal, context(clock), rowsToType(plan), true);
    state.counters["rows"] = journal.rowsInUse;
    state.counters["problems"] = static_cast<double>(typed.typing.size() + typed.check.size());
  }
}
BENCHMARK(typeStatementRows)->Unit(benchmark::kMillisecond);

// The same rows as the CSV lumctl journal import reads, read and typed.
void typeImportCsvRows(benchmark::State& state) {
  const std::string csv = statementCsv();
  auto lines = readCsvStatement(csv, *guessMapping(csv)).lines;
  lines.resize(kTyped);
  const auto rules = parseStatementRules(rulesText()).rules;
  const StatementPlan plan = planStatement(emptyJournal(), true, lines, rules);
  std::string importCsv;
  for (const TypedRow& row : rowsToType(plan)) {
    std::vector<std::string> fields(static_cast<std::size_t>(Journal::kMaxColumn + 1));
    for (const auto& [column, text] : row.cells) {
      fields[static_cast<std::size_t>(column)] = text;
    }
    for (const std::string& field : fields) {
      importCsv += csvField(field) + ",";
    }
    importCsv.back() = '\n';
  }
  const FixedClock clock{DateTime{*Date::fromYmd(2026, 9, 30), 10, 0, 0}};
  for (auto _ : state) {
    Journal journal = emptyJournal();
    std::vector<TypedRow> rows;
    for (const CsvRecord& record : parseCsv(importCsv)) {
      TypedRow& row = rows.emplace_back();
      row.line = record.line;
      for (std::size_t c = 0; c < record.fields.size(); ++c) {
        row.cells.emplace_back(static_cast<int>(c), record.fields[c]);
      }
    }
    const TypingOutcome typed = typeRows(journal, context(clock), rows, true);
    state.counters["rows"] = journal.rowsInUse;
    state.counters["problems"] = static_cast<double>(typed.typing.size() + typed.check.size());
  }
}
BENCHMARK(typeImportCsvRows)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lum
BENCHMARK_MAIN();
