#include "post/login/entity_setup.h"

#include <fmt/core.h>

#include <optional>
#include <vector>

#include "platform/record_blocks.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/login/gst_periods.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/list_panels.h"
#include "post/login/login_files.h"
#include "post/login/login_records.h"

namespace lum {
namespace {

constexpr int kAnalysisColumns = 100;
constexpr std::size_t kBudgetRecordSize = 416;

struct StandardJournal {
  const char* name;
  const char* type;
  std::int16_t contra;
  const char* analysisTemplate;
};

// The first analysis account of a journal when invoices are kept.
struct PresetAccount {
  const char* name;
  const char* gstCode;
  const char* accountType;
  std::int16_t ledgersAccount;
};

constexpr PresetAccount kDebtorsCash{"Debtors", "Y", "S", 638};
constexpr PresetAccount kDebtorsAccruals{"Debtors", "N", "A", 628};
constexpr PresetAccount kSalesCash{"Sales", "N", "A", 201};
constexpr PresetAccount kSalesAccruals{"Sales", "Y", "S", 201};

std::vector<StandardJournal> standardJournals(PostingMode postingMode, bool invoicing) {
  std::vector<StandardJournal> journals;
  if (postingMode == PostingMode::OtherBusiness) {
    journals = {{"Bank Journal", "C", 622, kBankTemplate},
                {"Petty Cash", "E", 621, kPettyCashTemplate}};
  } else {
    journals = {{invoicing ? "Receipts Book" : "Takings Book", "I", 621, kTakingsTemplate},
                {"Payments Book", "E", 621, kPaymentsTemplate}};
  }
  if (invoicing) {
    journals.push_back({"Invoices Book", "I", 628, kTakingsTemplate});
  }
  return journals;
}

SetupRecord setupRecord(RecordFile& ini, int record) {
  return ini.get<SetupRecord>(record);
}

void writeSetupValue(RecordFile& ini, int record, const std::string& value) {
  SetupRecord setup = setupRecord(ini, record);
  setup.prompt = setupPrompts()[static_cast<std::size_t>(record - 1)];
  setup.value = value;
  ini.put(record, setup);
}

// A template missing from the program directory comes back from its .bak copy.
bool restoreTemplate(Session& session, const std::string& name) {
  if (session.registry().exists(name)) {
    return true;
  }
  const std::string backup = name.substr(0, name.size() - 4) + ".bak";
  if (!session.registry().exists(backup)) {
    return false;
  }
  session.ops().copy(session.paths().resolve(backup), session.paths().resolve(name));
  return true;
}

std::filesystem::path journalFile(Session& session, const char* logicalName, int journal) {
  FileNaming naming = session.naming();
  naming.journalNumber = journal;
  return session.registry().path(*findRegistryEntry(logicalName), naming);
}

// True when a journal of the current entity holds rows in any period.
bool journalsHoldRows(Session& session) {
  FileOps& ops = session.ops();
  FileNaming naming = session.naming();
  const auto file = [&](const char* logicalName) {
    return session.registry().path(*findRegistryEntry(logicalName), naming);
  };
  int journals = 0;
  forEachRecord<CounterRecord>(
      ops, file("counters"), static_cast<int>(EntityCounter::Journals),
      [&](int, const CounterRecord& counter) { journals = counter.value; });
  for (naming.journalNumber = 1; naming.journalNumber <= std::min(journals, kMaxJournals);
       ++naming.journalNumber) {
    for (const char period : kAllPeriodLetters) {
      naming.periodLetter = period;
      int rows = 0;
      forEachRecord<AmountsRecord>(ops, file("GrdAms"), 1, [&](int, const AmountsRecord& header) {
        rows = header.rowsInUse();
      });
      if (rows > 0) {
        return true;
      }
    }
  }
  return false;
}

// The BAS labels of a template's accounts ("Axstak.dat" beside "Anstak.dat"),
// laid over the journal's analysis extras; a template without them leaves
// the extras as they are.
void copyBasLabels(Session& session, const std::string& accountsTemplate, int journal) {
  const std::string labels = "Ax" + accountsTemplate.substr(2);
  if (!restoreTemplate(session, labels)) {
    return;
  }
  const auto bytes = session.ops().readFile(session.paths().resolve(labels));
  RecordFile extras(session.ops(), journalFile(session, "Ax", journal), AnalysisExtraRecord::kSize);
  const std::size_t records = bytes.size() / AnalysisExtraRecord::kSize;
  for (std::size_t n = 0; n < records; ++n) {
    extras.write(
        static_cast<std::int64_t>(n) + 1,
        std::span(bytes).subspan(n * AnalysisExtraRecord::kSize, AnalysisExtraRecord::kSize));
  }
  extras.close();
}

void presetFirstAccount(Session& session, int journal, const PresetAccount& preset) {
  RecordFile accounts(session.ops(), journalFile(session, "An", journal),
                      AnalysisAccountRecord::kSize);
  auto account = accounts.get<AnalysisAccountRecord>(1);
  account.name = preset.name;
  account.gstCode = preset.gstCode;
  account.accountType = preset.accountType;
  account.ledgersAccount = preset.ledgersAccount;
  accounts.put(1, account);
  accounts.close();
  // The preset account feeds no BAS label of the template's first account.
  RecordFile extras(session.ops(), journalFile(session, "Ax", journal), AnalysisExtraRecord::kSize);
  extras.put(1, AnalysisExtraRecord{});
  extras.close();
}

void writeCounters(Session& session, int journals) {
  RecordFile* counters = session.open("counters");
  const std::vector<std::pair<const char*, int>> values = {
      {"Journals", journals}, {"Version", 3},  {"Invoices", 0},
      {"Invoice Details", 0}, {"Products", 0}, {"Customers", 0}};
  for (std::size_t i = 0; i < values.size(); ++i) {
    counters->put(static_cast<int>(i) + 1,
                  CounterRecord{values[i].first, static_cast<std::int16_t>(values[i].second)});
  }
}

}  // namespace

const std::array<const char*, kSetupRecords>& setupPrompts() {
  static constexpr std::array<const char*, kSetupRecords> prompts = {"Posting Mode 0 or 3",
                                                                     "M-Monthly or Q-Quarterly",
                                                                     "A-Accountant C-Client Type",
                                                                     "GSTRate",
                                                                     "PAYG Rate",
                                                                     "Mixed Bus Exempt Sales Ratio",
                                                                     "Mixed Bus Exempt Purch Ratio",
                                                                     "Setup Invoicing Y/N",
                                                                     "GST Type C-Cash A-Accruals"};
  return prompts;
}

bool mayChangePostingMode(Session& session, PostingMode from, PostingMode to) {
  if (from == to || !journalsHoldRows(session)) {
    return true;
  }
  session.prompter().message(
      "The posting mode cannot change while the entity's journals hold transactions: their "
      "amounts would move two columns. Clear the journals first, or set the client up as a new "
      "entity.",
      Icon::Exclamation);
  return false;
}

void writeEntityChoices(Session& session, const EntityChoices& choices) {
  RecordFile* ini = session.open("Ini");
  writeSetupValue(*ini, kPostingModeRecord, choices.otherBusiness ? "3" : "0");
  writeSetupValue(*ini, kPeriodKindRecord, choices.quarterly ? "Q" : "M");
  writeSetupValue(*ini, kInvoicingRecord, choices.invoicing ? "Y" : "N");
  writeSetupValue(*ini, kGstTypeRecord, choices.accruals ? "A" : "C");
  session.registry().close("Ini");
}

EntityChoices readEntityChoices(Session& session) {
  const SetupValues setup = readSetupValues(*session.open("Ini"));
  session.registry().close("Ini");
  EntityChoices choices;
  choices.otherBusiness = setup.postingMode == PostingMode::OtherBusiness;
  choices.quarterly = setup.periodKind == "Q";
  choices.invoicing = setup.invoicing == "Y";
  choices.accruals = setup.gstType == "A";
  return choices;
}

void createEntitySetUp(Session& session, bool noEntityCurrent) {
  RecordFile* ini = session.open("Ini");
  const std::vector<std::pair<int, const char*>> defaults = {{kClientTypeRecord, "C"},
                                                             {kGstRateRecord, ".1"},
                                                             {kPaygRateRecord, "0"},
                                                             {kExemptSalesRecord, "0"},
                                                             {kExemptPurchasesRecord, "0"}};
  for (int record = 1; record <= kSetupRecords; ++record) {
    writeSetupValue(*ini, record, setupRecord(*ini, record).value);
  }
  for (const auto& [record, value] : defaults) {
    writeSetupValue(*ini, record, value);
  }
  const SetupValues setup = readSetupValues(*ini);
  session.registry().close("Ini");
  const PostingMode postingMode = setup.postingMode;
  const bool invoicing = setup.invoicing == "Y";
  const bool accruals = setup.gstType == "A";

  const auto journals = standardJournals(postingMode, invoicing);
  RecordFile* jnl = session.open("Jnl");
  for (std::size_t i = 0; i < journals.size(); ++i) {
    JournalHeaderRecord header;
    header.name = journals[i].name;
    header.type = journals[i].type;
    header.contraAccount = journals[i].contra;
    jnl->put(static_cast<int>(i) + 1, header);
  }

  std::vector<std::string> missing;
  for (std::size_t i = 0; i < journals.size(); ++i) {
    const std::string name = journals[i].analysisTemplate;
    if (!restoreTemplate(session, name)) {
      missing.push_back(name);
      continue;
    }
    session.ops().copy(session.paths().resolve(name),
                       journalFile(session, "An", static_cast<int>(i) + 1));
  }
  for (const std::string& name : missing) {
    session.prompter().message(
        fmt::format("The analysis template {} cannot be found, nor its .bak copy. The journals "
                    "that use it start without analysis accounts.",
                    name),
        Icon::Exclamation);
  }

  writeCounters(session, static_cast<int>(journals.size()));
  RecordFile* budget = session.open("Butce");
  budget->write(1, std::vector<std::byte>(kBudgetRecordSize));

  RecordFile extras(session.ops(), journalFile(session, "Ax", 1), AnalysisExtraRecord::kSize);
  for (int column = 1; column <= kAnalysisColumns; ++column) {
    extras.put(column, AnalysisExtraRecord{});
  }
  extras.close();
  for (std::size_t i = 0; i < journals.size(); ++i) {
    copyBasLabels(session, journals[i].analysisTemplate, static_cast<int>(i) + 1);
  }
  if (invoicing) {
    const PresetAccount& debtors = accruals ? kDebtorsAccruals : kDebtorsCash;
    presetFirstAccount(session, 1, debtors);
    if (postingMode == PostingMode::OtherBusiness) {
      presetFirstAccount(session, 2, debtors);
    }
    presetFirstAccount(session, 3, accruals ? kSalesAccruals : kSalesCash);
  }

  if (noEntityCurrent) {
    selectEntity(session, session.login.entityNumber);
  }
}

}  // namespace lum

namespace lum {
namespace {

// Opens the log-in file set of another entity (or the current one again).
void readEntitySettings(Session& session, int entity) {
  session.login.entityNumber = entity;
  openLoginFileSet(session.registry(), session.naming(), session.login);
}

}  // namespace

namespace {

void storeDetails(Session& session, int entity, const EntityTexts& texts,
                  const EntityChoices& choices, int previous) {
  RecordFile& ent = session.registry().isOpen("Ent") ? session.file("Ent") : *session.open("Ent");
  auto record = ent.get<EntityRecord>(entity);
  const std::array<std::string*, 13> fields = {&record.name,
                                               &record.secondNameLine,
                                               &record.addressLine1,
                                               &record.addressLine2,
                                               &record.postcode,
                                               &record.contact,
                                               &record.telephoneAreaCode,
                                               &record.telephoneNumber,
                                               &record.faxAreaCode,
                                               &record.faxNumber,
                                               &record.mobileAreaCode,
                                               &record.mobileNumber,
                                               &record.abn};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    *fields[i] = texts[i];
  }
  ent.put(entity, record);

  readEntitySettings(session, entity);
  EntityChoices stored = choices;
  const PostingMode mode = session.login.setup.postingMode;
  const PostingMode chosen =
      choices.otherBusiness ? PostingMode::OtherBusiness : PostingMode::SmallCashBusiness;
  if (!mayChangePostingMode(session, mode, chosen)) {
    stored.otherBusiness = mode == PostingMode::OtherBusiness;
  }
  writeEntityChoices(session, stored);
  const int journals =
      session.file("counters").get<CounterRecord>(static_cast<int>(EntityCounter::Journals)).value;
  if (journals != 0) {
    session.prompter().message(
        "Please not that this action will not re set the client.  To recreate the journals, you "
        "need to clear all and set the client as new.");
  } else {
    createEntitySetUp(session, previous == 0);
  }
}

}  // namespace

bool storeEntityDetails(Session& session, int entity, const EntityTexts& texts,
                        const EntityChoices& choices) {
  if (trim(texts[0]).empty()) {
    return false;
  }
  const int previous = session.login.entityNumber;
  std::optional<WorkAreaTransaction> transaction(std::in_place, session.ops(),
                                                 session.rollbackFolder());
  try {
    storeDetails(session, entity, texts, choices, previous);
    readEntitySettings(session, previous == 0 ? session.login.entityNumber : previous);
    transaction->commit();
  } catch (...) {
    transaction.reset();  // the files as they were, then the log-in read from them again
    readEntitySettings(session, previous);
    throw;
  }
  return true;
}

}  // namespace lum
