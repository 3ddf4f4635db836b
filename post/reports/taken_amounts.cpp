#include "post/reports/taken_amounts.h"

#include <algorithm>
#include <utility>

#include "post/login/journal_records.h"
#include "post/login/session.h"

namespace lum {

JournalTaking JournalTaking::of(Session& session, const JournalFiles& files, int journal) {
  const SetupValues& setup = session.login.setup;
  JournalTaking taking;
  taking.settings = GstSettings::of(setup);
  taking.lastFixed = lastFixedColumn(setup.postingMode);
  const std::string kind(trim(session.file("Jnl").get<JournalHeaderRecord>(journal).type));
  taking.negate = setup.postingMode == PostingMode::SmallCashBusiness && kind == "I";
  for (const AnalysisColumn& column :
       files.analysisColumns(Journal::kMaxColumn - taking.lastFixed)) {
    const std::string name(trim(column.name));
    const GstAccount gst = GstAccount::of(column);
    taking.accounts.push_back(
        {name.empty() ? "Unspecified" : name, gst, GstTakeOut::of(gst, taking.settings)});
  }
  return taking;
}

namespace {

// A transaction's byte is blank as a decoded one is: a space or a NUL.
bool isBlankByte(std::byte b) {
  return b == std::byte{' '} || b == std::byte{0};
}

bool isFilled(std::span<const std::byte> field) {
  return !std::all_of(field.begin(), field.end(), isBlankByte);
}

// Each row's GST letter upper-cased, or 0 when the row is not taken;
// element t for row t. Read from the records' bytes: a letter that is not
// ASCII is no letter the GST rules know, as it is not once decoded.
std::vector<char> takenRowLetters(FileOps& ops, const JournalFiles& files, char period, int rows) {
  // Each field up to the next one.
  static constexpr std::pair kDate(fieldOffset<TransactionRecord>("date"),
                                   fieldOffset<TransactionRecord>("particulars"));
  static constexpr std::pair kReference(fieldOffset<TransactionRecord>("reference"),
                                        fieldOffset<TransactionRecord>("gst"));
  static constexpr std::size_t kGst = fieldOffset<TransactionRecord>("gst");
  std::vector<char> letters(static_cast<std::size_t>(rows) + 1, 0);
  forEachRecordBytes<TransactionRecord::kSize>(
      ops, files.path("GrdRecs", period), rows,
      [&](int t, std::span<const std::byte> bytes, bool present) {
        const auto letter = static_cast<char>(bytes[kGst]);
        const auto filled = [&](std::pair<std::size_t, std::size_t> field) {
          return isFilled(bytes.subspan(field.first, field.second - field.first));
        };
        const char upperCased = upperLetter(std::string_view(&letter, 1));
        if (present && upperCased != ' ' && filled(kDate) && filled(kReference)) {
          letters[static_cast<std::size_t>(t)] = upperCased;
        }
      });
  return letters;
}

// Adds column c of a block of records to its sum; letters[r] is the
// letter of the block's record r, and first the number of its record 0.
// kTakesNothing: the account has no GST to take out, decided once.
template <bool kTakesNothing>
TakenColumn addColumn(TakenColumn sum, GstTakeOut takeOut, bool negate,
                      std::span<const std::byte> block, int c, const char* letters, int first) {
  const std::size_t records = block.size() / AmountsRecord::kSize;
  for (std::size_t r = 0; r < records; ++r) {
    const std::int64_t raw = AmountsRecord::rawAt(block.subspan(r * AmountsRecord::kSize), c);
    if (raw == 0 || letters[r] == 0) {
      continue;
    }
    const Currency amount = negate ? -Currency::fromRaw(raw) : Currency::fromRaw(raw);
    const Currency gst = kTakesNothing ? Currency() : takeOut.from(amount, letters[r]);
    sum.amount += amount - gst;
    sum.gst += gst;
    if (sum.firstRow == 0) {
      sum.firstRow = first + static_cast<int>(r);
    }
  }
  return sum;
}

}  // namespace

std::vector<TakenColumn> takeColumns(Session& session, const JournalFiles& files, char period,
                                     const JournalTaking& taking) {
  FileOps& ops = session.ops();
  const int rows = checkedCounts(session, files, period).rows;
  const std::vector<char> letters = takenRowLetters(ops, files, period, rows);
  std::vector<TakenColumn> columns(
      static_cast<std::size_t>(Journal::kMaxColumn - taking.lastFixed));
  // A block of records column by column: one account's rules over the
  // inner loop.
  forEachRecordBlock<AmountsRecord::kSize>(
      ops, files.path("GrdAms", period), rows,
      [&](int first, std::span<const std::byte> block, std::size_t) {
        for (int c = taking.lastFixed + 1; c <= Journal::kMaxColumn; ++c) {
          const auto column = static_cast<std::size_t>(c - taking.lastFixed);
          TakenColumn& sum = columns[column - 1];
          const GstTakeOut& takeOut = taking.accounts[column].takeOut;
          sum = takeOut.takesNothing() ? addColumn<true>(sum, takeOut, taking.negate, block, c,
                                                         letters.data() + first, first)
                                       : addColumn<false>(sum, takeOut, taking.negate, block, c,
                                                          letters.data() + first, first);
        }
      });
  return columns;
}

}  // namespace lum
