#pragma once

#include <fmt/core.h>

#include <string>
#include <vector>

#include "tests/post/journals/journal_fixture.h"

namespace lum::test {

// Journals written byte by byte into the one-entity work area (quarterly,
// the September quarter "I" selected): rows, amounts, column totals and
// accounts.
struct ReportParts : JournalParts {
  struct Account {
    const char* name;
    const char* gst;
    const char* type;
    float category = 0;
    float ratio = 0;
    std::int16_t ledgers = 0;  // the ledgers program's account
  };
  struct Row {
    const char* gst;
    std::vector<long long> analysisCents;  // from the first analysis column
    const char* date = "15/08/05";
    const char* reference = "1";
    const char* particulars = "Row";
    // The journal's own amount columns: Amount in mode 0; Payments,
    // Receipts and Balance in mode 3.
    std::vector<long long> amountCents = {};
  };

  void writeJournal(int journal, const std::vector<Account>& accounts, const std::vector<Row>& rows,
                    char period = 'I') {
    const int lastFixed = lastFixedColumn(session.login.setup.postingMode);
    const std::string code = fmt::format("{:02}0001.dat", journal);
    Bytes lines, amounts, names, extras;
    std::size_t lastColumn = 0;
    for (const Row& row : rows) {
      lastColumn = std::max(lastColumn, lastFixed + row.analysisCents.size());
    }
    for (std::size_t t = 0; t < rows.size(); ++t) {
      lines.text(rows[t].date, 8)
          .text(rows[t].particulars, 46)
          .text(rows[t].reference, 5)
          .text(rows[t].gst, 1)
          .int16(0);
      for (std::size_t e = 0; e <= 100; ++e) {
        long long raw = 0;
        if (t == 0 && e == 1) {
          raw = static_cast<long long>(rows.size()) * 10000;
        } else if (t == 0 && e == 2) {
          raw = static_cast<long long>(lastColumn) * 10000;
        } else if (e >= 4 && e < 4 + rows[t].amountCents.size()) {
          raw = rows[t].amountCents[e - 4] * 100;
        } else if (e > static_cast<std::size_t>(lastFixed) &&
                   e - lastFixed <= rows[t].analysisCents.size()) {
          raw = rows[t].analysisCents[e - lastFixed - 1] * 100;
        }
        amounts.raw8(raw);
      }
    }
    Bytes totals;
    for (std::size_t k = 0; k < lastColumn - lastFixed; ++k) {
      long long cents = 0;
      for (const Row& row : rows) {
        cents += k < row.analysisCents.size() ? row.analysisCents[k] : 0;
      }
      totals.raw8(cents * 100);
    }
    for (const Account& a : accounts) {
      names.text(a.name, 23).text(a.gst, 1).text(a.type, 1).zeros(8).int16(a.ledgers);
      extras.float32(a.category).float32(a.ratio);
    }
    writeBytes(area() / (std::string("D") + period + code), lines);
    writeBytes(area() / (std::string("A") + period + code), amounts);
    writeBytes(area() / (std::string("G") + period + code), totals);
    writeBytes(area() / ("An" + code), names);
    writeBytes(area() / ("Ax" + code), extras);
  }

  // The journal count, and blank journal list records up to it (the reports
  // read no journal past the list).
  void setJournals(int count) {
    writeBytes(area() / "Lcn-0001.dat",
               Bytes().text("Journals", 24).int16(static_cast<std::int16_t>(count)));
    const auto list = area() / "Jnl-0001.dat";
    std::vector<std::byte> journals = readBytes(list);
    while (journals.size() < static_cast<std::size_t>(count) * JournalHeaderRecord::kSize) {
      const Bytes blank = Bytes().text("", 48).text("E", 1).int16(0).text("", 8);
      journals.insert(journals.end(), blank.bytes().begin(), blank.bytes().end());
    }
    writeBytes(list, journals);
  }
};

}  // namespace lum::test
