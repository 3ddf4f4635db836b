// Every record layout's decoder. The first byte picks the layout; the rest
// is a file of that layout. Each whole record must decode, encode to the
// bytes it came from (a text field's trailing blanks and NULs become
// blanks, nothing else changes), decode again to the same record and
// print as lumctl dump prints it; a cut last record must be refused with
// FormatError.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/errors.h"
#include "platform/fields.h"
#include "platform/suite_records.h"
#include "post/invoicing/invoice_records.h"
#include "post/ledgers/ledger_records.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/render/page_records.h"
#include "tools/lumctl/record_json.h"
#include "utils/utils_records.h"

namespace lum::fuzz {
namespace {

// Where a record's text fields lie, from its field list.
class TextFieldRanges {
 public:
  struct Range {
    std::size_t offset;
    std::size_t width;
  };

  void text(const char*, const std::string&, std::size_t width) { add(width, true); }
  void int16(const char*, std::int16_t) { add(2, false); }
  void int32(const char*, std::int32_t) { add(4, false); }
  void float32(const char*, float) { add(4, false); }
  void float64(const char*, double) { add(8, false); }
  void currency(const char*, Currency) { add(8, false); }
  void date(const char*, OleDate) { add(8, false); }
  template <std::size_t N>
  void bytes(const char*, const std::array<std::byte, N>&) {
    add(N, false);
  }
  template <std::size_t N>
  void texts(const char*, const std::array<std::string, N>&, std::size_t width) {
    for (std::size_t i = 0; i < N; ++i) {
      add(width, true);
    }
  }
  template <std::size_t N>
  void float32s(const char*, const std::array<float, N>&) {
    add(N * 4, false);
  }
  template <std::size_t N>
  void int16s(const char*, const std::array<std::int16_t, N>&) {
    add(N * 2, false);
  }
  template <std::size_t N>
  void currencies(const char*, const std::array<Currency, N>&) {
    add(N * 8, false);
  }

  const std::vector<Range>& ranges() const { return mRanges; }
  std::size_t size() const { return mOffset; }

 private:
  void add(std::size_t width, bool isText) {
    if (isText) {
      mRanges.push_back({mOffset, width});
    }
    mOffset += width;
  }

  std::vector<Range> mRanges;
  std::size_t mOffset = 0;
};

// The bytes a record's encoding must give back: its own, with the run of
// blanks and NULs that ends each text field turned into blanks.
template <class Record>
std::vector<std::byte> normalised(std::span<const std::byte> bytes) {
  Record record{};
  TextFieldRanges map;
  Record::fields(record, map);
  LUM_FUZZ_CHECK(map.size() == Record::kSize, "the field list does not add up to the record");
  std::vector<std::byte> out(bytes.begin(), bytes.end());
  for (const auto& range : map.ranges()) {
    std::size_t end = range.offset + range.width;
    while (end > range.offset && (out[end - 1] == std::byte{' '} || out[end - 1] == std::byte{0})) {
      out[--end] = std::byte{' '};
    }
  }
  return out;
}

template <class Record>
void checkRecord(std::span<const std::byte> bytes) {
  const Record first = Record::decode(bytes);
  std::vector<std::byte> encoded;
  try {
    encoded = first.encode();
  } catch (const EncodingError& error) {
    fail(std::string("a decoded record does not encode: ") + error.what(), __FILE__, __LINE__);
  }
  LUM_FUZZ_CHECK(encoded.size() == Record::kSize, "an encoded record has the wrong size");
  LUM_FUZZ_CHECK(encoded == normalised<Record>(bytes),
                 "decode then encode changed bytes outside the padding of a text");
  LUM_FUZZ_CHECK(Record::decode(encoded).encode() == encoded,
                 "a record does not decode to the same record twice");

  // lumctl dump: a number that is no real value is refused, nothing else.
  nlohmann::ordered_json object;
  try {
    appendRecordJson(first, object);
    LUM_FUZZ_CHECK(!object.dump().empty(), "a record printed as nothing");
  } catch (const FormatError&) {
    // Told on stderr by lumctl dump, which goes on with the next record.
  }
}

template <class Record>
void checkFile(std::span<const std::byte> bytes) {
  const std::size_t whole = bytes.size() / Record::kSize;
  for (std::size_t i = 0; i < whole; ++i) {
    checkRecord<Record>(bytes.subspan(i * Record::kSize, Record::kSize));
  }
  if (bytes.size() % Record::kSize != 0) {
    bool refused = false;
    try {
      Record::decode(bytes.subspan(whole * Record::kSize));
    } catch (const FormatError&) {
      refused = true;
    }
    LUM_FUZZ_CHECK(refused, "a cut record was decoded");
  }
}

// The layouts; a seed's first byte is its place here.
using Layouts =
    std::tuple<CounterRecord, EntityRecord, SetupRecord, GstDateRecord, WindowPositionRecord,
               FontNameRecord, ReportPrintSettings, OperatorRecord, OperatorProfileRecord,
               JournalHeaderRecord, AnalysisAccountRecord, AnalysisExtraRecord, TransactionRecord,
               AmountsRecord, ColumnTotalRecord, BudgetRecord, PageCommandRecord, PageTextRecord,
               StoredEntityRecord, FolderRecord, MailSettingsRecord, InvoiceRecord,
               InvoiceLineRecord, CustomerRecord, ProductRecord, LedgerClientRecord,
               LedgerAccountRecord, LedgerEntryRecord, LedgerJournalRecord, LedgerCommentRecord,
               LedgerCountersRecord, AccountNumberRecord>;

template <std::size_t... I>
void checkLayout(std::size_t index, std::span<const std::byte> bytes, std::index_sequence<I...>) {
  static_cast<void>(
      ((index == I ? (checkFile<std::tuple_element_t<I, Layouts>>(bytes), true) : false) || ...));
}

}  // namespace
}  // namespace lum::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lum::fuzz;
  if (size == 0) {
    return 0;
  }
  constexpr std::size_t kLayouts = std::tuple_size_v<Layouts>;
  const auto bytes = toBytes(std::span(data + 1, size - 1));
  checkLayout(data[0] % kLayouts, bytes, std::make_index_sequence<kLayouts>{});
  return 0;
}
