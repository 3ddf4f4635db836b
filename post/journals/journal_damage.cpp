#include "post/journals/journal_damage.h"

#include <fmt/core.h>

#include <algorithm>
#include <array>

#include "platform/record_blocks.h"
#include "platform/text.h"
#include "post/journals/journal_files.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/login/session.h"

namespace lum {
namespace {

// 32760 as "32,760".
std::string grouped(std::int64_t number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), 1, ',');
  }
  return number < 0 ? "-" + digits : digits;
}

std::string rowsText(std::int64_t rows) {
  return rows == 1 ? "1 row" : grouped(rows) + " rows";
}

// The size of a file in bytes; 0 when it is missing.
std::uint64_t sizeOf(FileOps& ops, const std::filesystem::path& file) {
  if (!ops.exists(file)) {
    return 0;
  }
  const FileHandle handle = ops.open(file, OpenMode::ReadOnly);
  return ops.size(handle);
}

std::string journalNameOf(Session& session, const JournalFiles& files) {
  std::string name;
  forEachRecord<JournalHeaderRecord>(session.ops(), files.path("Jnl"), files.journalNumber(),
                                     [&](int n, const JournalHeaderRecord& header) {
                                       if (n == files.journalNumber()) {
                                         name = std::string(trim(header.name));
                                       }
                                     });
  return name;
}

JournalDamage damageOf(Session& session, const JournalFiles& files,
                       const std::filesystem::path& file, std::string problem) {
  return {files.journalNumber(), journalNameOf(session, files), file.filename().string(),
          std::move(problem)};
}

std::filesystem::path entityFile(Session& session, const char* logicalName) {
  return session.registry().path(*findRegistryEntry(logicalName), session.naming());
}

}  // namespace

std::string JournalDamage::message(std::string_view leftOutOf) const {
  const std::string who = journalName.empty()
                              ? fmt::format("Journal {}", journal)
                              : fmt::format("The journal {} (journal {})", journalName, journal);
  return fmt::format("{} is damaged: its file {} {}. It is left out of {}.", who, file, problem,
                     leftOutOf);
}

JournalDamaged::JournalDamaged(JournalDamage damage)
    : std::runtime_error(damage.message()), mDamage(std::move(damage)) {}

PeriodCounts checkedCounts(Session& session, const JournalFiles& files, char period) {
  FileOps& ops = session.ops();
  const auto lines = files.path("GrdRecs", period);
  if (!ops.exists(lines)) {
    return {};
  }
  const auto amounts = files.path("GrdAms", period);
  PeriodCounts counts;
  forEachRecord<AmountsRecord>(ops, amounts, 1, [&](int, const AmountsRecord& header) {
    counts = {header.rowsInUse(), header.lastColumnInUse()};
  });
  const int rows = counts.rows;
  const std::array<std::pair<std::filesystem::path, std::uint64_t>, 2> checks{
      {{amounts, AmountsRecord::kSize}, {lines, TransactionRecord::kSize}}};
  for (const auto& [file, recordSize] : checks) {
    const std::uint64_t size = sizeOf(ops, file);
    const auto whole = static_cast<std::int64_t>(size / recordSize);
    if (whole >= rows) {
      continue;
    }
    // A record cut short past the rows in use holds nothing the reports read.
    const std::string held =
        size % recordSize == 0
            ? fmt::format("holds {}", rowsText(whole))
            : fmt::format("holds {} and part of row {}", rowsText(whole), grouped(whole + 1));
    throw JournalDamaged(
        damageOf(session, files, file,
                 fmt::format("{}, but {} in use", held,
                             rows == 1 ? std::string("1 is") : grouped(rows) + " are")));
  }
  return counts;
}

JournalDamage overflowDamage(Session& session, const JournalFiles& files, const char* logicalName,
                             char period) {
  return damageOf(session, files, files.path(logicalName, period),
                  "holds amounts too large to add up");
}

JournalCount countJournals(Session& session) {
  const int counted =
      session.file("counters").get<CounterRecord>(static_cast<int>(EntityCounter::Journals)).value;
  const auto list = entityFile(session, "Jnl");
  const auto listed =
      static_cast<std::int64_t>(sizeOf(session.ops(), list) / JournalHeaderRecord::kSize);
  const int present = static_cast<int>(std::min<std::int64_t>(listed, kMaxJournals));
  JournalCount count{std::clamp(counted, 0, present), {}};
  if (counted > present) {
    const std::string counters = entityFile(session, "counters").filename().string();
    count.problem =
        listed > kMaxJournals
            ? fmt::format(
                  "The journal count is damaged: its file {} counts {} journals, but an entity "
                  "has {} at most. Only those {} are read.",
                  counters, grouped(counted), kMaxJournals, kMaxJournals)
            : fmt::format(
                  "The journal count is damaged: its file {} counts {} journals, but {} holds {}. "
                  "Only those {} are read.",
                  counters, grouped(counted), list.filename().string(), present, present);
  }
  return count;
}

std::vector<std::string> DamageFound::messages(std::string_view leftOutOf) const {
  std::vector<std::string> told;
  if (!countProblem.empty()) {
    told.push_back(countProblem);
  }
  for (const JournalDamage& damage : journals) {
    told.push_back(damage.message(leftOutOf));
  }
  return told;
}

}  // namespace lum
