// The ledgers program's files as the transfer reads and appends to them:
// a client's counters, accounts, entries, journal headers and comments (the
// input holds the five files as splitFiles lays them out, in that order).
//
// Reading refuses damage with LedgerDamaged, never anything worse, and
// never hangs on a chain of entries. A book it accepts has every account's
// chain inside the entries in use, ending at the account's last entry.
// Posting to three of its accounts and reading it back finds each
// account's chain as it was with the new entry at its end, and the counts
// grown by what was appended.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "post/ledgers/ledger_book.h"
#include "post/ledgers/ledger_posting.h"

namespace lum::fuzz {
namespace {

namespace fs = std::filesystem;

constexpr int kPosted[] = {1, 3, LedgerAccountRecord::kAccounts};

void checkChains(const LedgerBook& book) {
  const int entries = book.counters().entries;
  for (int a = 1; a <= book.accountRecords(); ++a) {
    const std::vector<int> chain = book.chain(a);
    LUM_FUZZ_CHECK(chain.size() <= static_cast<std::size_t>(entries),
                   "a chain longer than the entries");
    for (const int e : chain) {
      LUM_FUZZ_CHECK(e >= 1 && e <= entries, "a chain outside the entries in use");
    }
    LUM_FUZZ_CHECK(
        chain.empty() ? book.account(a).lastEntry == 0 : chain.back() == book.account(a).lastEntry,
        "a chain that does not end at its account's last entry");
  }
}

}  // namespace
}  // namespace lum::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lum;
  using namespace lum::fuzz;
  static FileOps ops;
  static const fs::path program = scratchFolder() / "prog";
  static const DosPath paths(ops, program, scratchFolder() / "floppy");
  static const fs::path folder = scratchFolder() / "GLed" / "Ent-1";
  fs::create_directories(program);
  fs::create_directories(folder);
  const auto files = splitFiles({data, size}, 5);
  const char* names[] = {"Lct-1.Dat", "Ltc-1.Dat", "Led-1.Dat", "Ljn-1.Dat", "Lcm-1.Dat"};
  for (std::size_t i = 0; i < files.size(); ++i) {
    placeFile(folder / names[i], files[i]);
  }
  const LedgerFiles ledgers(paths, 1, 1);

  std::optional<LedgerBook> book;
  try {
    book = LedgerBook::read(ops, ledgers);
  } catch (const LedgerDamaged&) {
    return 0;
  } catch (const FileError&) {
    LUM_FUZZ_CHECK(!files[0].present, "a file error with the counters there");
    return 0;
  }
  checkChains(*book);

  std::vector<std::vector<int>> chains;
  for (const int account : kPosted) {
    chains.push_back(book->chain(account));
  }
  LedgerPostings postings(*book);
  try {
    for (const int account : kPosted) {
      postings.post({account, Currency::fromCents(100), "01/01/26", 1, "Fuzz", "Fuzz"});
    }
  } catch (const std::overflow_error&) {
    return 0;  // a balance at the end of the range: refused before anything is written
  }
  postings.closeHeader("Fuzz");
  postings.write(ops, ledgers);

  const LedgerBook after = LedgerBook::read(ops, ledgers);
  checkChains(after);
  const LedgerCountersRecord& was = book->counters();
  LUM_FUZZ_CHECK(after.counters().entries == was.entries + 3 &&
                     after.counters().headers == was.headers + 1 &&
                     after.counters().comments == was.comments + 3,
                 "the counts did not grow by what was appended");
  for (std::size_t i = 0; i < std::size(kPosted); ++i) {
    std::vector<int> expected = chains[i];
    expected.push_back(was.entries + 1 + static_cast<int>(i));
    LUM_FUZZ_CHECK(after.chain(kPosted[i]) == expected, "a chain lost an entry");
  }
  return 0;
}
