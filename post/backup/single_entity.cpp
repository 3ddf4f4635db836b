#include "post/backup/single_entity.h"

#include <fmt/core.h>

#include <string>

#include "platform/record_file.h"
#include "platform/suite_records.h"
#include "platform/text.h"
#include "post/backup/housekeeping_change.h"
#include "post/backup/working_data.h"
#include "post/login/login_records.h"

namespace lum {

namespace fs = std::filesystem;

namespace {

constexpr int kSingleEntity = 1;

// The name an entity file of the area takes as entity 1's, or empty for a
// file that is not the entity's.
std::string singleEntityName(const std::string& name, const std::string& code) {
  const std::string single = fmt::format("{:04}", kSingleEntity);
  const bool perJournal = (isJournalPeriodFile(name) && name.substr(4, 4) == code) ||
                          wildcardMatch("An??" + code + ".dat", name) ||
                          wildcardMatch("Ax??" + code + ".dat", name);
  if (perJournal) {
    return name.substr(0, 4) + single + name.substr(8);
  }
  for (const char* prefix : {"Bdg-", "Inv-", "InD-", "Cus-", "Prd-", "Ini-", "Lcn-", "Jnl-"}) {
    if (wildcardMatch(std::string(prefix) + code + ".dat", name)) {
      return name.substr(0, 4) + single + name.substr(8);
    }
  }
  if (equalsIgnoreCase(name, "Entcoun.dat") || equalsIgnoreCase(name, "Ent.dat")) {
    return name;
  }
  return {};
}

void setCounter(RecordFile& counters, WorkAreaCounter which, std::int16_t value) {
  const auto number = static_cast<std::int64_t>(which);
  auto record = counters.get<CounterRecord>(number);
  record.value = value;
  counters.put(number, record);
}

void convert(FileOps& ops, const fs::path& area, int entity) {
  const fs::path scratch = area / "temp";
  ops.makeDirectories(scratch);
  for (const std::string& name : ops.list(scratch)) {
    if (!ops.isDirectory(scratch / name)) {
      ops.remove(scratch / name);
    }
  }
  const std::string code = fmt::format("{:04}", entity);
  for (const std::string& name : ops.list(area)) {
    const std::string target = singleEntityName(name, code);
    if (!target.empty() && !ops.isDirectory(area / name)) {
      ops.copy(area / name, scratch / target);
    }
  }
  clearWorkingData(ops, area);
  for (const std::string& name : ops.list(scratch)) {
    ops.copy(scratch / name, area / name);
  }

  if (ops.exists(area / "Ent.dat")) {
    RecordFile entities(ops, area / "Ent.dat", EntityRecord::kSize);
    entities.put(kSingleEntity, entities.get<EntityRecord>(entity));
  }
  RecordFile counters(ops, area / "Entcoun.dat", CounterRecord::kSize);
  setCounter(counters, WorkAreaCounter::EntityCount, kSingleEntity);
  setCounter(counters, WorkAreaCounter::CurrentEntity, kSingleEntity);
}

}  // namespace

bool convertToSingleEntity(Session& session) {
  if (!housekeepingAllowed(session)) {
    return false;
  }
  if (!session.prompter().confirm("You are about to convert the data in work area into one single "
                                  "entity. Do you wish to proceed?")) {
    return false;
  }
  const fs::path area = workAreaOf(session);
  const int entity = session.login.entityNumber;
  return runHousekeeping(session,
                         {"convert-single", {"*"}, [&] { convert(session.ops(), area, entity); }});
}

}  // namespace lum
