#include "post/ledgers/ledger_records.h"

#include <gtest/gtest.h>

#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;
using test::decodeAndRoundTrip;

TEST(LedgerRecords, Client) {
  Bytes bytes;
  bytes.text("Demo Plumbing", 48).text("Pty Ltd", 48);  // 0, 48
  bytes.text("1 Main Road", 48).zeros(237);             // 96: the ledgers program's own
  bytes.int16(3);                                       // 381 chart kind
  bytes.text("", 48).int16(7).int16(8);                 // 383
  const auto r = decodeAndRoundTrip<LedgerClientRecord>(bytes);
  EXPECT_EQ(r.name, "Demo Plumbing");
  EXPECT_EQ(r.secondNameLine, "Pty Ltd");
  EXPECT_EQ(r.chartKind, 3);
  EXPECT_EQ(fieldOffset<LedgerClientRecord>("chart_kind"), 381u);
}

TEST(LedgerRecords, Account) {
  Bytes bytes;
  bytes.text("", 48).text("Cash at Bank", 48).text("", 48);  // 0
  bytes.raw8(-1'234'500);                                    // 144 balance -123.45
  bytes.zeros(72);                                           // 152
  bytes.int32(17).int32(40);                                 // 224 first and last entries
  bytes.int32(5).int32(6);                                   // 232
  const auto r = decodeAndRoundTrip<LedgerAccountRecord>(bytes);
  EXPECT_EQ(r.name, "Cash at Bank");
  EXPECT_EQ(r.balance, Currency::fromCents(-12345));
  EXPECT_EQ(r.firstEntry, 17);
  EXPECT_EQ(r.lastEntry, 40);
  EXPECT_EQ(fieldOffset<LedgerAccountRecord>("balance"), 144u);
  EXPECT_EQ(fieldOffset<LedgerAccountRecord>("first_entry"), 224u);
  EXPECT_EQ(fieldOffset<LedgerAccountRecord>("last_entry"), 228u);
}

TEST(LedgerRecords, EntryHeaderAndComment) {
  Bytes entry;
  entry.text("31/03/05", 8).int32(201).int32(0).int32(1234);  // 0 date, 8 account, 16 reference
  entry.raw({1, 2, 3, 4, 5, 6, 7, 8});                        // 20 carried
  entry.raw8(1'000'000);                                      // 28 amount 100.00
  entry.int32(9).int32(0).int32(12).int32(3);  // 36 comment, 44 next entry, 48 header
  entry.zeros(8);
  const auto e = decodeAndRoundTrip<LedgerEntryRecord>(entry);
  EXPECT_EQ(e.date, "31/03/05");
  EXPECT_EQ(e.account, 201);
  EXPECT_EQ(e.reference, 1234);
  EXPECT_EQ(e.amount, Currency::fromCents(10000));
  EXPECT_EQ(e.comment, 9);
  EXPECT_EQ(e.nextEntry, 12);
  EXPECT_EQ(e.header, 3);
  EXPECT_EQ(fieldOffset<LedgerEntryRecord>("next_entry"), 44u);

  const auto h = decodeAndRoundTrip<LedgerJournalRecord>(
      Bytes().text("GJ", 2).text("Being automatic posting", 160).int32(5).int32(9));
  EXPECT_EQ(h.kind, "GJ");
  EXPECT_EQ(h.narration, "Being automatic posting");
  EXPECT_EQ(h.firstEntry, 5);
  EXPECT_EQ(h.lastEntry, 9);

  const auto c = decodeAndRoundTrip<LedgerCommentRecord>(Bytes().text("Harbour Cafe", 48).int32(7));
  EXPECT_EQ(c.text, "Harbour Cafe");
  EXPECT_EQ(c.entry, 7);
}

TEST(LedgerRecords, Counters) {
  Bytes bytes;
  bytes.int32(40).int32(3).int32(39).int32(40).int32(3).int32(39);    // 0 the counts, twice
  bytes.text("Y", 1).int32(1).int32(2).int32(3).text("30/06/05", 8);  // 24
  bytes.int32(4).int32(32).int32(5);                                  // 45, 49 version, 53
  const auto r = decodeAndRoundTrip<LedgerCountersRecord>(bytes);
  EXPECT_EQ(r.entries, 40);
  EXPECT_EQ(r.headers, 3);
  EXPECT_EQ(r.comments, 39);
  EXPECT_EQ(r.version, LedgerCountersRecord::kDataVersion);
  EXPECT_EQ(fieldOffset<LedgerCountersRecord>("version"), 49u);
}

}  // namespace
}  // namespace lum
