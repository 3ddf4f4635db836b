// lumctl ledgers show: what a ledgers client's files hold, read without
// changing or locking anything: the accounts with their entries along each
// account's chain, and the journal headers.

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "platform/dos_path.h"
#include "platform/text.h"
#include "post/ledgers/ledger_book.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/ledgers_options.h"
#include "tools/lumctl/record_json.h"

namespace lum {
namespace {

using nlohmann::ordered_json;

std::string trimmed(const std::string& text) {
  return std::string(trim(text));
}

// The text of an entry's comment record; "" for none (0).
std::string commentOf(const LedgerFiles& files, const std::vector<LedgerCommentRecord>& comments,
                      int entry, int comment) {
  if (comment == 0) {
    return {};
  }
  if (comment < 0 || comment > static_cast<int>(comments.size())) {
    throw LedgerDamaged(files.entries(),
                        fmt::format("entry {} points to comment {}, not to one of the {} "
                                    "comments in use",
                                    entry, comment, comments.size()));
  }
  return trimmed(comments[static_cast<std::size_t>(comment - 1)].text);
}

ordered_json entriesJson(const LedgerBook& book, const LedgerFiles& files, int account,
                         const std::vector<LedgerCommentRecord>& comments) {
  ordered_json entries = ordered_json::array();
  for (const int number : book.chain(account)) {
    const LedgerEntryRecord entry = book.entry(number);
    entries.push_back({{"entry", number},
                       {"date", trimmed(entry.date)},
                       {"reference", entry.reference},
                       {"amount", currencyText(entry.amount)},
                       {"comment", commentOf(files, comments, number, entry.comment)},
                       {"header", entry.header}});
  }
  return entries;
}

// The client's accounts that have a name, entries or a balance, in number
// order, and every journal header in use. Throws LedgerDamaged.
ordered_json ledgersJson(FileOps& ops, const LedgerFiles& files) {
  const LedgerBook book = LedgerBook::read(ops, files);
  const LedgerCountersRecord& counters = book.counters();
  const auto comments =
      readLedgerRecords<LedgerCommentRecord>(ops, files.comments(), counters.comments, "comments");
  const auto headers =
      readLedgerRecords<LedgerJournalRecord>(ops, files.headers(), counters.headers, "headers");

  ordered_json accounts = ordered_json::array();
  for (int number = 1; number <= book.accountRecords(); ++number) {
    const LedgerAccountRecord account = book.account(number);
    const std::string name = trimmed(account.name);
    if (name.empty() && account.firstEntry == 0 && account.balance == Currency()) {
      continue;
    }
    accounts.push_back({{"account", number},
                        {"name", name},
                        {"balance", currencyText(account.balance)},
                        {"entries", entriesJson(book, files, number, comments)}});
  }
  ordered_json headerList = ordered_json::array();
  for (std::size_t h = 0; h < headers.size(); ++h) {
    headerList.push_back({{"header", h + 1},
                          {"narration", trimmed(headers[h].narration)},
                          {"first", headers[h].firstEntry},
                          {"last", headers[h].lastEntry}});
  }
  return {{"accounts", accounts}, {"headers", headerList}};
}

int showLedgers(CommandContext& context, const LedgersChoice& choice) {
  FileOps& ops = context.ops;
  const GlobalOptions& global = context.options;
  try {
    const DosPath paths(ops, global.root, DosPath::floppyDirectoryFor(global.root, nullptr));
    const LedgerFiles files(paths, global.groupNumber, choice.ledgers, choice.folder);
    if (!ops.exists(files.counters())) {
      fmt::print(context.err, "lumctl: {}\n", kNoLedgersFiles);
      return kExitRefused;
    }
    const auto counters = LedgerCountersRecord::decode(LedgerBook::readCounters(ops, files));
    if (counters.version != LedgerCountersRecord::kDataVersion) {
      fmt::print(context.err, "lumctl: {}\n", kWrongLedgersVersion);
      return kExitRefused;
    }
    const std::string json = ledgersJson(ops, files).dump(2) + "\n";
    context.out << json;
    return kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(context.err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

}  // namespace

void addLedgersCommands(CLI::App& app, CommandContext& context) {
  CLI::App* ledgers = app.add_subcommand("ledgers", "Read the ledgers program's files");
  ledgers->require_subcommand(1);
  CLI::App* show = ledgers->add_subcommand(
      "show",
      "Print a ledgers client's accounts, their entries and the journal headers as JSON, "
      "without changing or locking anything");
  const auto choice = addLedgersChoiceOptions(*show);
  show->callback([&context, choice] {
    context.status =
        ledgersFolderAccepted(*choice, context.err) ? showLedgers(context, *choice) : kExitRefused;
  });
}

}  // namespace lum
