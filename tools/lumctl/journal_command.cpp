#include "tools/lumctl/journal_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <algorithm>
#include <ostream>
#include <sstream>

#include "panel/money.h"
#include "platform/csv.h"
#include "platform/text.h"
#include "post/journals/journal_editor.h"
#include "post/journals/journal_files.h"
#include "post/journals/journal_typing.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/journal_opening.h"
#include "tools/lumctl/settled_reading.h"
#include "tools/lumctl/statement_command.h"

namespace lum {
namespace {

// The grid headings of the fixed columns by posting mode and journal name.
std::vector<std::string> fixedHeadings(const Journal& journal, const std::string& name) {
  if (!journal.hasRunningBalance()) {
    return {"date", "particulars", "ref", "gst", "Amount"};
  }
  const bool invoices = toUpper(name).find("INVOICE") != std::string::npos;
  return {"date",
          "particulars",
          "ref",
          "gst",
          invoices ? "Credits" : "Payments",
          invoices ? "Charges" : "Receipts",
          "Balance"};
}

// The grid column a CSV heading names, or -1.
int columnOf(const std::string& heading, const Journal& journal,
             const std::vector<std::string>& fixed) {
  const std::string wanted(trim(heading));
  for (std::size_t c = 0; c < fixed.size(); ++c) {
    if (equalsIgnoreCase(wanted, fixed[c])) {
      return static_cast<int>(c);
    }
  }
  return analysisColumnNamed(journal, wanted);
}

}  // namespace

int importJournal(const GlobalOptions& global, const JournalOptions& options, std::ostream&,
                  std::ostream& err) {
  StreamPrompter prompter(err, false);
  Opened opened;
  try {
    if (const int status = openJournal(global, options, prompter, err, opened); status != 0) {
      return status;
    }
    Session& session = opened.login->session();
    FileOps& ops = session.ops();
    if (!ops.exists(options.file)) {
      fmt::print(err, "lumctl: cannot read {}\n", options.file);
      return kExitRefused;
    }
    const auto bytes = ops.readFile(options.file);
    const auto records =
        parseCsv(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (records.empty()) {
      fmt::print(err, "lumctl: {} has no heading line\n", options.file);
      return kExitRefused;
    }

    Journal journal = opened.files->load();
    const auto fixed = fixedHeadings(journal, opened.name);
    std::vector<int> columns;
    for (const std::string& heading : records[0].fields) {
      const int column = columnOf(heading, journal, fixed);
      if (column < 0) {
        fmt::print(err, "lumctl: {} line {}: no column of the journal is called \"{}\"\n",
                   options.file, records[0].line, heading);
        return kExitRefused;
      }
      columns.push_back(column);
    }

    const EditorContext context = typingContext(session);
    // A line of blank fields keeps its row blank, as a row left blank at the grid.
    std::vector<TypedRow> rows;
    for (std::size_t n = 1; n < records.size(); ++n) {
      TypedRow& row = rows.emplace_back();
      row.line = records[n].line;
      for (std::size_t i = 0; i < records[n].fields.size() && i < columns.size(); ++i) {
        row.cells.emplace_back(columns[i], records[n].fields[i]);
      }
    }
    const TypingOutcome typed = typeRows(journal, context, rows, options.keepGoing);
    const auto tell = [&](const TypingProblem& problem) {
      tellTypingProblem(err, options.file, problem);
    };
    std::for_each(typed.typing.begin(), typed.typing.end(), tell);
    std::for_each(typed.check.begin(), typed.check.end(), tell);
    if (typed.any() && !options.keepGoing) {
      return kExitRefused;
    }
    opened.files->save(journal);
    opened.login->commitChange();
    return typed.any() ? kExitRefused : kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

int showJournal(const GlobalOptions& global, const JournalOptions& options, std::ostream& out,
                std::ostream& err) {
  FileOps ops;
  return readSettled(ops, workAreaFolder(global), "", out, err, [&](Reading& reading) {
    StreamPrompter prompter(reading.err);
    Opened opened;
    if (const int status =
            openJournal(global, options, prompter, reading.err, opened, &reading.files);
        status != 0) {
      return status;
    }
    Journal journal = opened.files->load();
    const auto fixed = fixedHeadings(journal, opened.name);
    const int last = std::max(journal.lastColumnInUse, journal.lastFixedColumn());
    EditorContext context;
    context.prompter = &prompter;
    context.clock = &opened.login->session().clock();
    JournalEditor editor(journal, context);
    editor.enterCell(Journal::kMaxRows, Journal::kMaxColumn);  // away from the rows shown

    std::ostringstream csv;
    std::string line;
    for (int c = 0; c <= last; ++c) {
      line +=
          csvField(c < static_cast<int>(fixed.size()) ? fixed[static_cast<std::size_t>(c)]
                                                      : std::string(trim(journal.column(c).name)));
      line += ',';
    }
    csv << line << "row balance\n";
    for (int r = 1; r <= journal.rowsInUse; ++r) {
      line.clear();
      for (int c = 0; c <= last; ++c) {
        line += csvField(std::string(trim(editor.cellText(r, c)))) + ',';
      }
      csv << line << formatMoney(journal.am(r, 0)) << '\n';
    }
    line = "total,,,,";
    for (int c = journal.amountColumn(); c <= last; ++c) {
      const bool balance = journal.hasRunningBalance() && c == journal.balanceColumn();
      line += (balance ? std::string() : formatMoney(journal.am(0, c))) + ',';
    }
    csv << line << '\n';
    reading.output = csv.str();
    return int{kExitSuccess};
  });
}

namespace {

// The heading of each column of the grid up to the last in use, as import
// reads it back: an analysis column's name only where it names that column.
std::vector<std::string> importHeadings(const Journal& journal,
                                        const std::vector<std::string>& fixed, int last) {
  std::vector<std::string> headings;
  for (int c = 0; c <= last; ++c) {
    if (c < static_cast<int>(fixed.size())) {
      headings.push_back(fixed[static_cast<std::size_t>(c)]);
      continue;
    }
    const std::string name(trim(journal.column(c).name));
    const bool named = !name.empty() && name[0] != '#' && columnOf(name, journal, fixed) == c;
    headings.push_back(named ? name : fmt::format("#{}", c - journal.lastFixedColumn()));
  }
  return headings;
}

}  // namespace

int exportJournal(const GlobalOptions& global, const JournalOptions& options, std::ostream& out,
                  std::ostream& err) {
  FileOps ops;
  return readSettled(ops, workAreaFolder(global), options.out, out, err, [&](Reading& reading) {
    StreamPrompter prompter(reading.err);
    Opened opened;
    if (const int status =
            openJournal(global, options, prompter, reading.err, opened, &reading.files);
        status != 0) {
      return status;
    }
    const Journal journal = opened.files->load();
    const auto fixed = fixedHeadings(journal, opened.name);
    const int last = std::max(journal.lastColumnInUse, journal.lastFixedColumn());
    const auto line = [](const std::vector<std::string>& fields) {
      std::string text;
      for (std::size_t i = 0; i < fields.size(); ++i) {
        text += (i == 0 ? "" : ",") + csvField(fields[i]);
      }
      return text + '\n';
    };
    std::string csv = line(importHeadings(journal, fixed, last));
    for (int r = 1; r <= journal.rowsInUse; ++r) {
      const TransactionRecord& row = journal.row(r);
      std::vector<std::string> fields = {
          std::string(trim(row.date)), std::string(trim(row.particulars)),
          std::string(trim(row.reference)), std::string(trim(row.gst))};
      for (int c = journal.amountColumn(); c <= last; ++c) {
        const Currency amount = journal.am(r, c);
        fields.push_back(amount.isZero() ? std::string() : formatMoney(amount));
      }
      csv += line(fields);
    }
    reading.output = std::move(csv);
    return int{kExitSuccess};
  });
}

void addJournalCommands(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<JournalOptions>();
  CLI::App* journal = app.add_subcommand(
      "journal", "Import rows into a journal, export it or show it, for one GST period");
  journal->require_subcommand(1);
  const auto place = [&](CLI::App* command) {
    command
        ->add_option("--journal", options->journal,
                     "The journal number (its line in the journals list)")
        ->required();
    command->add_option("--period", options->period, kPeriodHelp)->required();
  };
  CLI::App* import = journal->add_subcommand(
      "import",
      "Type the rows of a CSV file into the journal as at the grid, then save it through the "
      "transaction check. The heading names the columns: date, particulars, ref, gst, the amount "
      "columns (Amount; or Payments/Credits, Receipts/Charges, Balance) and analysis columns by "
      "account name or as #k");
  place(import);
  import->add_option("FILE", options->file, "The CSV file")->required();
  import->add_flag("--keep-going", options->keepGoing,
                   "Save even when cells are refused or the check finds faulty rows");
  import->callback([&context, options] {
    context.status = context.workAreaToChange()
                         ? importJournal(context.options, *options, context.out, context.err)
                         : kExitRefused;
});
CLI::App* exporting = journal->add_subcommand(
    "export",
    "Write the journal as the CSV that journal import reads: its columns under headings that "
    "name them (an analysis column by its account name, or as #k when that is blank or names "
    "another column), a line a row");
place(exporting);
exporting->add_option("--out", options->out,
                      "The file written; - (default) for the standard output");
exporting->callback([&context, options] {
  context.status = context.workAreaThere()
                       ? exportJournal(context.options, *options, context.out, context.err)
                       : kExitRefused;
});
CLI::App* show = journal->add_subcommand(
    "show", "Print the journal as CSV: the headings, each row with its row balance, the totals");
place(show);
show->callback([&context, options] {
  context.status = context.workAreaThere()
                       ? showJournal(context.options, *options, context.out, context.err)
                       : kExitRefused;
});
addStatementCommand(*journal, context);
}  // namespace lum

}  // namespace lum
