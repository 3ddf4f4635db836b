#include "post/login/detail_panels.h"

#include <fmt/core.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "platform/text.h"
#include "post/login/entity_setup.h"
#include "post/login/journal_records.h"
#include "post/login/list_panels.h"
#include "post/login/login_files.h"
#include "post/login/login_records.h"
#include "post/login/main_commands.h"
#include "post/login/window_dispatch.h"
#include "post/login/window_hooks.h"

namespace lum {
namespace {

constexpr int kConfigurationLines = 100;

// Hooks every one of these windows shares.
class DetailHooks : public WindowHooks {
 public:
  using WindowHooks::WindowHooks;

 protected:
  int journalRecord() const { return mSession.currentLine(kJournalsList) + 1; }
  int entityRecord() const { return mSession.currentLine(kEntitiesList) + 1; }
};

// Window 2: the name, type, contra account and transfer date of the
// journal selected in the journals list.
class JournalDetailsHooks final : public DetailHooks {
 public:
  static constexpr int kTypeLine = 2;

  using DetailHooks::DetailHooks;

  int lineCount() const override { return 5; }

  void fillDetail(std::vector<std::string>& boxes) override {
    const auto header = mSession.file("Jnl").get<JournalHeaderRecord>(journalRecord());
    boxes = {header.name, header.type, std::to_string(header.contraAccount), header.dateTransferred,
             ""};
  }

  std::string detailLabel(int row) const override {
    static constexpr std::array<const char*, 5> kLabels = {
        "Journal Name", "Journal Type I-Income E-Expense C-Combined",
        "Contra Account Number - Ledgers", "Date Transferred to Ledgers",
        "Transfer Account Names from Journal No"};
    return row >= 0 && row < 5 ? kLabels[static_cast<std::size_t>(row)] : "";
  }

  // Anything but I, E or C as the type becomes E.
  bool checkLine(int line) override {
    if (line == kTypeLine) {
      InputPanel& panel = *mSession.panel(kJournalDetails);
      const std::string type = toUpper(trim(panel.boxText(kTypeLine - 1)));
      if (type != "I" && type != "E" && type != "C") {
        panel.setBoxText(kTypeLine - 1, "E");
      }
    }
    return true;
  }
};

// Window 6: the thirteen texts of the entity selected in the entities list.
class EntityDetailsHooks final : public DetailHooks {
 public:
  using DetailHooks::DetailHooks;

  int lineCount() const override { return 13; }

  void fillDetail(std::vector<std::string>& boxes) override {
    const auto e = mSession.file("Ent").get<EntityRecord>(entityRecord());
    boxes = {e.name,        e.secondNameLine, e.addressLine1,      e.addressLine2,
             e.postcode,    e.contact,        e.telephoneAreaCode, e.telephoneNumber,
             e.faxAreaCode, e.faxNumber,      e.mobileAreaCode,    e.mobileNumber,
             e.abn};
  }

  std::string detailLabel(int row) const override {
    // Each box's own name; the window lays the boxes out as a form.
    static constexpr std::array<const char*, 13> kLabels = {"Name",
                                                            "Name Line 2",
                                                            "Address",
                                                            "Address Line 2",
                                                            "Postcode",
                                                            "Contact",
                                                            "Telephone Area Code",
                                                            "Telephone Number",
                                                            "Fax Area Code",
                                                            "Fax Number",
                                                            "Mobile Area Code",
                                                            "Mobile Number",
                                                            "ABN"};
    return row >= 0 && row < 13 ? kLabels[static_cast<std::size_t>(row)] : "";
  }
};

// Window 3: the analysis accounts of the selected journal: the name, then
// the account type letter followed by the GST code letter.
class AccountListHooks final : public DetailHooks {
 public:
  using DetailHooks::DetailHooks;

  int lineCount() const override { return static_cast<int>(mSession.file("An").recordCount()); }

  std::vector<std::string> fillListLine(int record) override {
    const auto account = mSession.file("An").get<AnalysisAccountRecord>(record);
    return {account.name, account.accountType + account.gstCode};
  }

  void storeListLine(int record, const std::vector<std::string>& texts) override {
    RecordFile& accounts = mSession.file("An");
    auto account = accounts.get<AnalysisAccountRecord>(record);
    account.name = texts.at(0);
    const std::string letters = toUpper(trim(texts.at(1)));
    account.accountType = leftCharacters(letters, 1);
    account.gstCode = letters.size() > 1 ? letters.substr(1, 1) : std::string();
    accounts.put(record, account);
  }

  void addListLine(const std::vector<std::string>& texts) override {
    storeListLine(lineCount() + 1, texts);
  }
};

// Window 11: the set-up records of an entity, prompt and value; only the
// values are typed over.
class ConfigurationHooks final : public DetailHooks {
 public:
  using DetailHooks::DetailHooks;

  int lineCount() const override { return kConfigurationLines; }

  std::vector<std::string> fillListLine(int record) override {
    const auto setup = mSession.file("Ini").get<SetupRecord>(record);
    return {setup.prompt, setup.value};
  }

  void storeListLine(int record, const std::vector<std::string>& texts) override {
    RecordFile& ini = mSession.file("Ini");
    auto setup = ini.get<SetupRecord>(record);
    const auto mode = [](const std::string& value) {
      return postingModeOf(static_cast<int>(leadingNumber(trimLeft(value))));
    };
    if (record == kPostingModeRecord &&
        !mayChangePostingMode(mSession, mode(setup.value), mode(texts.at(1)))) {
      return;
    }
    setup.value = texts.at(1);
    ini.put(record, setup);
  }
};

void acceptJournalDetails(Session& session) {
  InputPanel& panel = *session.panel(kJournalDetails);
  const int record = session.currentLine(kJournalsList) + 1;
  RecordFile& jnl = session.file("Jnl");
  auto header = jnl.get<JournalHeaderRecord>(record);
  header.name = panel.boxText(0);
  header.type = leftCharacters(trim(panel.boxText(1)), 1);
  header.contraAccount = static_cast<std::int16_t>(
      std::clamp(std::trunc(leadingNumber(panel.boxText(2))), -32768.0, 32767.0));
  header.dateTransferred = panel.boxText(3);
  jnl.put(record, header);
  if (InputPanel* journals = session.panel(kJournalsList)) {
    journals->redraw();
  }
}

bool acceptEntityDetails(Session& session) {
  const InputPanel& panel = *session.panel(kEntityDetails);
  EntityTexts texts;
  for (std::size_t box = 0; box < texts.size(); ++box) {
    texts[box] = panel.boxText(static_cast<int>(box));
  }
  const int entity = session.currentLine(kEntitiesList) + 1;
  if (!storeEntityDetails(session, entity, texts, session.entityChoices)) {
    return false;
  }
  // The first entity's set-up ends with the program; the next start opens it.
  if (session.login.firstTimeFlag != 'X') {
    session.login.firstTimeFlag = 'C';
    if (InputPanel* entities = session.panel(kEntitiesList)) {
      entities->redraw();
    }
  }
  return true;
}

}  // namespace

void installDetailWindows(Session& session) {
  session.setPanelHooks(kJournalDetails, std::make_unique<JournalDetailsHooks>(session));
  session.setPanelHooks(kAccountList, std::make_unique<AccountListHooks>(session));
  session.setPanelHooks(kEntityDetails, std::make_unique<EntityDetailsHooks>(session));
  session.setPanelHooks(kConfiguration, std::make_unique<ConfigurationHooks>(session));
}

void prepareDetailWindow(Session& session, int window) {
  switch (window) {
    case kAccountList:
      session.open("An");
      session.open("Ax");
      break;
    case kEntityDetails: {
      if (!session.registry().isOpen("Ent")) {
        session.open("Ent");
      }
      const int previous = session.login.entityNumber;
      session.login.entityNumber = session.currentLine(kEntitiesList) + 1;
      session.entityChoices = readEntityChoices(session);
      session.login.entityNumber = previous;
      break;
    }
    case kConfiguration:
      session.entityBeforeConfiguration = session.login.entityNumber;
      if (!session.workingFromFloppy()) {
        session.login.entityNumber = session.currentLine(kEntitiesList) + 1;
      }
      session.open("Ini");
      break;
    default:
      break;
  }
}

void releaseDetailWindow(Session& session, int window) {
  if (window == kConfiguration) {
    session.registry().close("Ini");
    session.login.entityNumber = session.entityBeforeConfiguration;
    openLoginFileSet(session.registry(), session.naming(), session.login);
  }
}

bool acceptWindow(Session& session) {
  switch (session.currentWindow) {
    case kJournalDetails:
      acceptJournalDetails(session);
      return true;
    case kEntityDetails:
      return acceptEntityDetails(session);
    default: {
      const auto& accept = session.windowActions(session.currentWindow).accept;
      return !accept || accept();
    }
  }
}

void acceptAndClose(Session& session) {
  if (acceptWindow(session)) {
    closeWindow(session);
  }
}

}  // namespace lum
