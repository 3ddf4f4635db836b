#include "post/journals/account_transfer.h"

#include <fmt/core.h>

#include <cmath>

#include "platform/record_file.h"
#include "platform/suite_records.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/journals/journal_files.h"
#include "post/login/entity_setup.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"

namespace lum {
namespace {

constexpr int kAccounts = 100;
constexpr int kTransferLine = 5;

int journalCount(Session& session) {
  return session.file("counters")
      .get<CounterRecord>(static_cast<int>(EntityCounter::Journals))
      .value;
}

std::string journalName(Session& session, int journal) {
  return std::string(trim(session.file("Jnl").get<JournalHeaderRecord>(journal).name));
}

}  // namespace

const char* templateFileName(AccountsTemplate choice) {
  switch (choice) {
    case AccountsTemplate::Bank:
      return kBankTemplate;
    case AccountsTemplate::PettyCash:
      return kPettyCashTemplate;
    case AccountsTemplate::Takings:
      return kTakingsTemplate;
    case AccountsTemplate::Payments:
      return kPaymentsTemplate;
  }
  return kBankTemplate;
}

bool transferAccountNames(Session& session, int journal, int fromJournal,
                          std::optional<AccountsTemplate> choice) {
  Prompter& prompter = session.prompter();
  const int journals = journalCount(session);
  if (journal < 1 || journal > journals) {
    prompter.message(fmt::format("There is no journal {}.", journal), Icon::Exclamation);
    return false;
  }
  const JournalFiles target(session, journal);
  FileOps& ops = session.ops();
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> copies;
  if (fromJournal < 1) {
    if (!choice) {
      prompter.message(
          "Choose the template to transfer the account names from, or enter a journal number.",
          Icon::Exclamation);
      return false;
    }
    const char* name = templateFileName(*choice);
    if (!session.registry().exists(name)) {
      prompter.message(fmt::format("The account names template {} cannot be found.  Nothing was "
                                   "transferred.",
                                   name),
                       Icon::Exclamation);
      return false;
    }
    copies.emplace_back(session.paths().resolve(name), target.path("An"));
  } else {
    if (fromJournal > journals) {
      prompter.message(fmt::format("There is no journal {}: the entity has {}.  Nothing was "
                                   "transferred.",
                                   fromJournal, journals),
                       Icon::Exclamation);
      return false;
    }
    if (fromJournal == journal) {
      prompter.message("A journal cannot take the account names of itself.", Icon::Exclamation);
      return false;
    }
    const JournalFiles source(session, fromJournal);
    if (!ops.exists(source.path("An"))) {
      prompter.message(fmt::format("{} has no accounts.  Nothing was transferred.",
                                   journalName(session, fromJournal)),
                       Icon::Exclamation);
      return false;
    }
    copies.emplace_back(source.path("An"), target.path("An"));
    copies.emplace_back(source.path("Ax"), target.path("Ax"));
  }

  std::vector<std::filesystem::path> changed;
  for (const auto& [from, to] : copies) {
    changed.push_back(to);
  }
  WorkAreaTransaction transaction(ops, session.rollbackFolder());
  transaction.keep(changed);
  for (const auto& [from, to] : copies) {
    if (ops.exists(from)) {
      ops.copy(from, to);
    } else {
      ops.remove(to);  // the source has no BAS labels: neither has the copy
    }
  }
  transaction.commit();
  return true;
}

bool transferAccountNamesShown(Session& session, std::optional<AccountsTemplate> choice) {
  InputPanel& panel = *session.panel(kJournalDetails);
  panel.commitLine();
  const double number = std::trunc(leadingNumber(panel.boxText(kTransferLine - 1)));
  const int fromJournal = number > 32767 ? 32767 : static_cast<int>(std::max(number, -1.0));
  return transferAccountNames(session, session.currentLine(kJournalsList) + 1, fromJournal, choice);
}

bool clearExemptRatios(Session& session) {
  const int journal = session.currentLine(kJournalsList) + 1;
  if (journal < 1 || journal > journalCount(session)) {
    return false;
  }
  if (!session.prompter().confirm(
          fmt::format("The GST exempt ratios of every account of {} will be set to 0.  Are you "
                      "sure?",
                      journalName(session, journal)))) {
    return false;
  }
  const JournalFiles files(session, journal);
  if (!session.ops().exists(files.path("Ax"))) {
    return true;  // no account has a ratio
  }
  RecordFile extras(session.ops(), files.path("Ax"), AnalysisExtraRecord::kSize);
  for (int account = 1; account <= kAccounts; ++account) {
    auto extra = extras.get<AnalysisExtraRecord>(account);
    extra.exemptRatio = 0;
    extras.put(account, extra);
  }
  extras.flush();
  extras.close();
  return true;
}

}  // namespace lum
