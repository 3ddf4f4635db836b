#include "post/login/list_panels.h"

#include <fmt/core.h>

#include <cmath>
#include <memory>

#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/login/gst_periods.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/login/main_commands.h"
#include "post/login/window_dispatch.h"
#include "post/login/window_hooks.h"

namespace lum {
namespace {

constexpr int kNewJournalColumns = 100;
constexpr std::size_t kBannerWidth = 64;

int counterValue(RecordFile& file, int record) {
  return file.get<CounterRecord>(record).value;
}

void setCounterValue(RecordFile& file, int record, int value) {
  auto counter = file.get<CounterRecord>(record);
  counter.value = static_cast<std::int16_t>(value);
  file.put(record, counter);
}

// Window 0: one line per journal of the entity, showing its name.
class JournalsListHooks final : public WindowHooks {
 public:
  using WindowHooks::WindowHooks;

  int lineCount() const override {
    return counterValue(mSession.file("counters"), static_cast<int>(EntityCounter::Journals));
  }

  std::vector<std::string> fillListLine(int record) override {
    return {mSession.file("Jnl").get<JournalHeaderRecord>(record).name};
  }

  void storeListLine(int record, const std::vector<std::string>& texts) override {
    RecordFile& jnl = mSession.file("Jnl");
    auto header = jnl.get<JournalHeaderRecord>(record);
    header.name = texts.at(0);
    jnl.put(record, header);
  }

  // A new journal: its header, blank analysis columns, and no stale lines
  // left behind by an earlier journal of the same number.
  void addListLine(const std::vector<std::string>& texts) override {
    WorkAreaTransaction transaction(mSession.ops(), mSession.rollbackFolder());
    const int record = lineCount() + 1;
    JournalHeaderRecord header;
    header.name = texts.at(0);
    header.type.assign(1, 'E');  // GCC 12 warns falsely (-Wrestrict) on = "E" here
    mSession.file("Jnl").put(record, header);
    setCounterValue(mSession.file("counters"), static_cast<int>(EntityCounter::Journals), record);

    FileNaming naming = mSession.naming();
    naming.journalNumber = record;
    writeBlankColumns(naming);
    removeStaleLines(naming);
    transaction.commit();
  }

 private:
  // The line, amount and total files of every period (D, A or G, then the
  // period letter, the journal and the entity). Only period letters count:
  // "A?" alone would also take the journal's An and Ax files.
  void removeStaleLines(const FileNaming& naming) {
    const std::string pattern = fmt::format("{}\\??{:02}{:04}.dat", naming.dataDirectory,
                                            naming.journalNumber, naming.entityNumber);
    for (const auto& file : mSession.paths().list(pattern)) {
      const std::string name = toUpper(file.filename().string());
      const bool periodFile = std::string_view("DAG").find(name[0]) != std::string_view::npos &&
                              kAllPeriodLetters.find(name[1]) != std::string_view::npos;
      if (periodFile) {
        mSession.ops().remove(file);
      }
    }
  }

  void writeBlankColumns(const FileNaming& naming) {
    const auto path = [&](const char* name) {
      return mSession.registry().path(*findRegistryEntry(name), naming);
    };
    RecordFile accounts(mSession.ops(), path("An"), AnalysisAccountRecord::kSize);
    RecordFile extras(mSession.ops(), path("Ax"), AnalysisExtraRecord::kSize);
    for (int column = 1; column <= kNewJournalColumns; ++column) {
      accounts.put(column, AnalysisAccountRecord{});
      extras.put(column, AnalysisExtraRecord{});
    }
    accounts.close();
    extras.close();
  }
};

// Window 5: one line per entity of the work area, showing its banner.
class EntitiesListHooks final : public WindowHooks {
 public:
  using WindowHooks::WindowHooks;

  int lineCount() const override {
    return counterValue(mSession.file("EntCoun"), static_cast<int>(WorkAreaCounter::EntityCount));
  }

  std::vector<std::string> fillListLine(int record) override {
    const auto entity = mSession.file("Ent").get<EntityRecord>(record);
    return {leftCharacters(entityBannerText(entity.name, entity.secondNameLine), kBannerWidth)};
  }

  // Entity names change through their details window only.
  void storeListLine(int, const std::vector<std::string>&) override {}

  void addListLine(const std::vector<std::string>& texts) override {
    addEntity(mSession, texts.at(0));
  }
};

// A negative entity count means the counter file was damaged: ask for the
// real count.
void recoverEntityCount(Session& session) {
  RecordFile& entCoun = session.file("EntCoun");
  const int record = static_cast<int>(WorkAreaCounter::EntityCount);
  const int count = counterValue(entCoun, record);
  if (count >= 0) {
    return;
  }
  const auto typed = session.prompter().input(
      {fmt::format("The entity counter file seems to be lost.  It shows as if there are {} "
                   "entities. Enter the correct number of entities that should exist with this "
                   "group.",
                   count),
       "", ""});
  const double answer = typed ? std::trunc(leadingNumber(*typed)) : 0;
  if (answer > 0 && answer <= 32767) {
    setCounterValue(entCoun, record, static_cast<int>(answer));
  }
}

}  // namespace

void installListWindows(Session& session) {
  session.setPanelHooks(kJournalsList, std::make_unique<JournalsListHooks>(session));
  session.setPanelHooks(kEntitiesList, std::make_unique<EntitiesListHooks>(session));
}

void prepareListWindow(Session& session, int window) {
  if (window == kJournalsList) {
    rebuildGstPeriods(session);
  } else if (window == kEntitiesList) {
    session.open("Ent");
    session.open("EntCoun");
    recoverEntityCount(session);
  }
}

void openSelectedLine(Session& session, int window) {
  if (window == kJournalsList) {
    session.backLinks[kJournalGrid] = kJournalsList;
    openWindow(session, kJournalGrid);
  } else if (window == kEntitiesList) {
    selectEntity(session, session.currentLine(kEntitiesList) + 1);
  }
}

void openLineDetails(Session& session, int window) {
  InputPanel* panel = session.panel(window);
  if (panel == nullptr) {
    return;
  }
  const int line = panel->currentLine();
  if (line >= panel->lineCount() && session.panelShared.edit != LineEdit::Changed) {
    session.prompter().message("You must type in the name before entering into details");
    return;
  }
  panel->commitLine();
  openWindow(session, window == kJournalsList ? kJournalDetails : kEntityDetails);
}

void selectEntity(Session& session, int entity) {
  RecordFile& entCoun =
      session.registry().isOpen("EntCoun") ? session.file("EntCoun") : *session.open("EntCoun");
  if (entity > counterValue(entCoun, static_cast<int>(WorkAreaCounter::EntityCount))) {
    return;  // the empty line after the last entity
  }
  setCounterValue(entCoun, static_cast<int>(WorkAreaCounter::CurrentEntity), entity);
  session.login.entityNumber = entity;
  session.login.firstTimeFlag = 'C';
  if (InputPanel* panel = session.panel(kEntitiesList)) {
    panel->redraw();
  }
}

int addEntity(Session& session, const std::string& name) {
  WorkAreaTransaction transaction(session.ops(), session.rollbackFolder());
  RecordFile& ent = session.registry().isOpen("Ent") ? session.file("Ent") : *session.open("Ent");
  RecordFile& entCoun =
      session.registry().isOpen("EntCoun") ? session.file("EntCoun") : *session.open("EntCoun");
  const int record = counterValue(entCoun, static_cast<int>(WorkAreaCounter::EntityCount)) + 1;
  EntityRecord entity;
  entity.name = name;
  ent.put(record, entity);
  setCounterValue(entCoun, static_cast<int>(WorkAreaCounter::EntityCount), record);
  transaction.commit();
  return record;
}

}  // namespace lum
