#pragma once

#include <map>
#include <string>
#include <vector>

#include "post/ledgers/ledger_book.h"
#include "post/ledgers/ledgers_transfer.h"
#include "tests/post/reports/report_fixture.h"
#include "tests/support/crash_points.h"

namespace lum::test {

// The one-entity work area of the report tests (quarterly, posting mode 0,
// the September quarter selected, its accounts at version 3) beside a
// ledgers client 1 of group 1: "Smith Plumbing Pty Ltd", whose chart has
// named accounts and whose bank account 621 has two entries already.
struct LedgersParts : ReportParts {
  LedgersParts() {
    writeBytes(area() / "Lcn-0001.dat",
               Bytes().text("Journals", 24).int16(2).text("Orv Ledgers Version", 24).int16(3));
    writeClient(1, "Smith Plumbing", "Pty Ltd", 1);
    std::filesystem::create_directories(ledgers());
    writeAccounts(ledgers(), {{201, "Sales"},
                              {202, "Sales - Mixed"},
                              {407, "Motor Vehicle"},
                              {412, "Telephone"},
                              {621, "Cash at Bank"},
                              {849, "GST Collected/Paid"},
                              {999, "Suspense"}});
    // Account 621: entries 1 and 2 under header 1, balance 1,000.00.
    writeAccount(ledgers(), 621, "Cash at Bank", 1'000'0000, 1, 2);
    Bytes entries;
    entry(entries, "30/06/05", 621, 7, 600'0000, 1, 2, 1);
    entry(entries, "30/06/05", 621, 8, 400'0000, 2, 0, 1);
    writeBytes(ledgers() / "Led-1.Dat", entries);
    writeBytes(ledgers() / "Ljn-1.Dat",
               Bytes().text("GJ", 2).text("Opening", 160).int32(1).int32(2));
    writeBytes(ledgers() / "Lcm-1.Dat",
               Bytes().text("Opening", 48).int32(1).text("Opening", 48).int32(2));
    writeCounters(ledgers(), 2, 1, 2);
  }

  std::filesystem::path ledgersRoot() const { return dir / "GLed" / "Ent-1"; }
  std::filesystem::path ledgers() const { return ledgersRoot(); }

  void writeClient(int number, const char* name, const char* second, std::int16_t chart) {
    std::filesystem::create_directories(dir / "CntMan" / "Ent-1");
    Bytes bytes;
    for (int k = 1; k < number; ++k) {
      bytes.text("Another client", 48).zeros(435 - 48);
    }
    bytes.text(name, 48).text(second, 48).zeros(285).int16(chart).zeros(52);
    writeBytes(dir / "CntMan" / "Ent-1" / "Mascnt.dat", bytes);
  }

  static void entry(Bytes& bytes, const char* date, int account, int reference, long long raw,
                    int comment, int next, int header) {
    bytes.text(date, 8)
        .int32(account)
        .int32(0)
        .int32(reference)
        .zeros(8)
        .raw8(raw)
        .int32(comment)
        .int32(0)
        .int32(next)
        .int32(header)
        .zeros(8);
  }

  // Accounts 1 to 999, those given named, balances 0, no entries.
  static void writeAccounts(const std::filesystem::path& folder,
                            const std::map<int, std::string>& names) {
    Bytes bytes;
    for (int a = 1; a <= 999; ++a) {
      const auto found = names.find(a);
      bytes.text("", 48).text(found == names.end() ? "" : found->second, 48).text("", 48);
      bytes.raw8(0).zeros(72).int32(0).int32(0).zeros(8);
    }
    writeBytes(folder / "Ltc-1.Dat", bytes);
  }
  static void writeAccount(const std::filesystem::path& folder, int account, const char* name,
                           long long balanceRaw, int first, int last) {
    std::vector<std::byte> all = readBytes(folder / "Ltc-1.Dat");
    const Bytes record = Bytes()
                             .text("", 48)
                             .text(name, 48)
                             .text("", 48)
                             .raw8(balanceRaw)
                             .zeros(72)
                             .int32(first)
                             .int32(last)
                             .zeros(8);
    std::copy(record.bytes().begin(), record.bytes().end(),
              all.begin() + static_cast<std::ptrdiff_t>((account - 1) * 240));
    writeBytes(folder / "Ltc-1.Dat", all);
  }
  static void writeCounters(const std::filesystem::path& folder, int entries, int headers,
                            int comments, int version = 32) {
    writeBytes(folder / "Lct-1.Dat", Bytes()
                                         .int32(entries)
                                         .int32(headers)
                                         .int32(comments)
                                         .int32(entries)
                                         .int32(headers)
                                         .int32(comments)
                                         .text("N", 1)
                                         .int32(11)
                                         .int32(12)
                                         .int32(13)
                                         .text("01/07/04", 8)
                                         .int32(14)
                                         .int32(version)
                                         .int32(15));
  }

  std::optional<TransferCounts> transfer(TransferRequest request = {1}) {
    return transferToLedgers(session, request);
  }

  LedgerBook book(std::string_view folder = LedgerFiles::kCurrent) {
    return LedgerBook::read(ops, LedgerFiles(paths, 1, 1, folder));
  }
  std::vector<LedgerJournalRecord> headers(const LedgerBook& book) {
    return readLedgerRecords<LedgerJournalRecord>(ops, ledgers() / "Ljn-1.Dat",
                                                  book.counters().headers, "headers");
  }
  std::vector<LedgerCommentRecord> comments(const LedgerBook& book) {
    return readLedgerRecords<LedgerCommentRecord>(ops, ledgers() / "Lcm-1.Dat",
                                                  book.counters().comments, "comments");
  }

  // Both trees: the work area (without its lock) and the ledgers folders.
  TreeFiles bothTrees() const {
    TreeFiles files = treeFiles(area(), {"LumPost.lck"});
    for (auto& [name, bytes] : treeFiles(dir / "GLed")) {
      files["GLed/" + name] = bytes;
    }
    return files;
  }
};

}  // namespace lum::test
