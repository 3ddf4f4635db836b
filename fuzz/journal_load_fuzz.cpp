// The journal load. The input is the journal's files of one period, written
// into a logged-in work area: its lines (D), amounts (A) and column totals
// (G), its analysis accounts (An, Ax) and the entity's budget. The first
// byte picks the posting mode (bit 0), monthly or quarterly periods (bit
// 1) and the period (the bits above).
//
// A load either gives a journal within the model's bounds or stops with
// the overflow the program tells the user; it writes nothing. Saving what
// was loaded, unchanged, writes only the journal's files, and loading
// them again gives the same journal; a second save writes the same bytes.

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "post/journals/journal_files.h"
#include "tests/post/journals/journal_fixture.h"

namespace lum::fuzz {
namespace {

namespace fs = std::filesystem;

// The files of the input, in their order, by logical name.
constexpr const char* kFiles[] = {"GrdRecs", "GrdAms", "GstPers", "An", "Ax", "Butce"};
constexpr std::size_t kFileCount = std::size(kFiles);

bool sameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The first difference between two journals, empty when there is none.
std::string journalDifference(const Journal& a, const Journal& b) {
  if (a.rowsInUse != b.rowsInUse || a.lastColumnInUse != b.lastColumnInUse) {
    return "the counts in use differ";
  }
  // Past the rows in use a load leaves the rows and amounts blank (checkBounds).
  for (int r = 1; r <= a.rowsInUse; ++r) {
    const auto& x = a.row(r);
    const auto& y = b.row(r);
    if (x.date != y.date || x.particulars != y.particulars || x.reference != y.reference ||
        x.gst != y.gst || x.transferred != y.transferred) {
      return "row " + std::to_string(r) + " differs";
    }
  }
  for (int r = 0; r <= a.rowsInUse; ++r) {
    for (int c = 0; c <= Journal::kMaxColumn; ++c) {
      if (a.am(r, c) != b.am(r, c)) {
        return "the amount of row " + std::to_string(r) + ", column " + std::to_string(c) +
               " differs";
      }
    }
  }
  for (int c = a.lastFixedColumn() + 1; c <= Journal::kMaxColumn; ++c) {
    const auto& x = a.column(c);
    const auto& y = b.column(c);
    if (x.name != y.name || x.accountType != y.accountType || x.gstCode != y.gstCode ||
        x.ledgersAccount != y.ledgersAccount || x.reserved != y.reserved ||
        !sameBits(x.basClassification, y.basClassification) ||
        !sameBits(x.exemptRatio, y.exemptRatio)) {
      return "analysis column " + std::to_string(c) + " differs";
    }
  }
  if (a.budget.budgetedSales != b.budget.budgetedSales ||
      a.budget.budgetedCostOfSales != b.budget.budgetedCostOfSales ||
      a.budget.actualSales != b.budget.actualSales ||
      a.budget.actualCostOfSales != b.budget.actualCostOfSales) {
    return "the budget differs";
  }
  return {};
}

void checkBounds(const Journal& journal) {
  LUM_FUZZ_CHECK(journal.rowsInUse >= 0 && journal.rowsInUse <= Journal::kMaxRows,
                 "the rows in use are outside the model");
  LUM_FUZZ_CHECK(journal.lastColumnInUse >= 0 && journal.lastColumnInUse <= Journal::kMaxColumn,
                 "the last column in use is outside the model");
  // The load fills rows 1 to the rows in use and nothing after them.
  for (const int r : {journal.rowsInUse + 1, Journal::kMaxRows}) {
    if (r > Journal::kMaxRows || r <= journal.rowsInUse) {
      continue;
    }
    LUM_FUZZ_CHECK(journal.row(r).date.empty() && journal.row(r).particulars.empty(),
                   "a row past the rows in use holds a line");
    for (int c = 0; c <= Journal::kMaxColumn; ++c) {
      LUM_FUZZ_CHECK(journal.am(r, c).isZero(), "a row past the rows in use holds an amount");
    }
  }
}

struct Fixture {
  Fixture() : baseline(snapshotTree(parts.dir.path())) {}

  // The work area's files as paths relative to the fixture's folder.
  std::string relative(const fs::path& path) const {
    return path.lexically_relative(parts.dir.path()).string();
  }

  test::JournalParts parts;
  TreeSnapshot baseline;
};

Fixture& fixture() {
  scratchFolder();  // the fixture's folder goes into the scratch folder
  static Fixture instance;
  return instance;
}

void choosePeriod(Session& session, std::uint8_t choice) {
  static constexpr char kMonths[] = "ABCDEFGHIJKLM";
  static constexpr char kQuarters[] = "CFILO";
  const bool quarterly = (choice & 2) != 0;
  session.login.setup.postingMode =
      (choice & 1) != 0 ? PostingMode::OtherBusiness : PostingMode::SmallCashBusiness;
  session.login.setup.periodKind = std::string(1, quarterly ? 'Q' : 'M');
  const std::size_t index = choice >> 2;
  session.login.periodLetter = quarterly ? kQuarters[index % (std::size(kQuarters) - 1)]
                                         : kMonths[index % (std::size(kMonths) - 1)];
}

std::string filesBytes(const JournalFiles& files) {
  std::string all;
  for (const char* name : kFiles) {
    const auto path = files.path(name);
    all += fs::exists(path) ? readWholeFile(path) : std::string("missing");
    all += '\n';
  }
  return all;
}

}  // namespace
}  // namespace lum::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lum;
  using namespace lum::fuzz;
  if (size == 0) {
    return 0;
  }
  Fixture& f = fixture();
  restoreTree(f.parts.dir.path(), f.baseline);
  Session& session = f.parts.session;
  choosePeriod(session, data[0]);
  JournalFiles files(session, 1);

  const auto inputs = splitFiles(std::span(data + 1, size - 1), kFileCount);
  std::vector<std::string> journalFiles;
  for (std::size_t i = 0; i < kFileCount; ++i) {
    placeFile(files.path(kFiles[i]), inputs[i]);
    journalFiles.push_back(f.relative(files.path(kFiles[i])));
  }
  journalFiles.push_back(f.relative(f.parts.area() / "Rollback"));

  const TreeSnapshot before = snapshotTree(f.parts.dir.path());
  std::optional<Journal> loaded;
  try {
    loaded.emplace(files.load());
  } catch (const std::overflow_error&) {
    // An amount or a total past the Currency range: the program tells the
    // user "Amount too large for a Currency value" and opens nothing.
    LUM_FUZZ_CHECK(treeDifference(before, snapshotTree(f.parts.dir.path())).empty(),
                   "a load that failed wrote files");
    return 0;
  }
  const TreeSnapshot afterLoad = snapshotTree(f.parts.dir.path());
  LUM_FUZZ_CHECK(treeDifference(before, afterLoad).empty(),
                 "loading a journal wrote files:\n" + treeDifference(before, afterLoad));
  checkBounds(*loaded);

  files.save(*loaded);
  const TreeSnapshot afterSave = snapshotTree(f.parts.dir.path());
  const std::string others =
      treeDifference(withoutPaths(before, journalFiles), withoutPaths(afterSave, journalFiles));
  LUM_FUZZ_CHECK(others.empty(), "saving a journal changed other files:\n" + others);
  const auto saved = filesBytes(files);

  Journal again = files.load();
  const std::string difference = journalDifference(*loaded, again);
  LUM_FUZZ_CHECK(difference.empty(),
                 "the journal saved and loaded again is not the same: " + difference);
  files.save(again);
  LUM_FUZZ_CHECK(filesBytes(files) == saved, "saving the same journal twice wrote other bytes");
  return 0;
}
