#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace lum::test {

// An entity's set-up file: its values in record order (posting mode, period
// kind, client type, GST rate, PAYG rate, exempt ratios, invoicing, GST
// type), each under the prompt the program writes.
inline void writeSetup(const std::filesystem::path& area, const std::vector<std::string>& values,
                       int entity = 1) {
  static const char* const kPrompts[] = {"Posting Mode 0 or 3",
                                         "M-Monthly or Q-Quarterly",
                                         "A-Accountant C-Client Type",
                                         "GSTRate",
                                         "PAYG Rate",
                                         "Mixed Bus Exempt Sales Ratio",
                                         "Mixed Bus Exempt Purch Ratio",
                                         "Setup Invoicing Y/N",
                                         "GST Type C-Cash A-Accruals"};
  Bytes bytes;
  for (std::size_t i = 0; i < values.size() && i < std::size(kPrompts); ++i) {
    bytes.text(kPrompts[i], 36).text(values[i], 16);
  }
  char name[16];
  std::snprintf(name, sizeof name, "Ini-%04d.dat", entity);
  writeBytes(area / name, bytes);
}

// A work area holding entity 1, "Smith Plumbing, Pty Ltd": quarterly, posting
// mode 0, with the journals "Takings Book" and "Payments Book".
inline void writeOneEntityWorkArea(const std::filesystem::path& area) {
  std::filesystem::create_directories(area);
  writeBytes(area / "Entcoun.dat", Bytes().text("", 24).int16(1).text("", 24).int16(1));
  writeBytes(area / "Lcn-0001.dat", Bytes().text("Journals", 24).int16(2));
  writeBytes(area / "Jnl-0001.dat", Bytes()
                                        .text("Takings Book", 48)
                                        .text("I", 1)
                                        .int16(621)
                                        .text("", 8)
                                        .text("Payments Book", 48)
                                        .text("E", 1)
                                        .int16(621)
                                        .text("", 8));
  writeBytes(area / "Ent.dat", Bytes().text("Smith Plumbing", 32).text("Pty Ltd", 32).zeros(242));
  writeSetup(area, {"0", "Q"});
}

// Journal 1's analysis accounts: "Sales" (type S, 201) and "Fuel" (type E, 407).
inline void writeSalesAndFuelAccounts(const std::filesystem::path& area) {
  writeBytes(area / "An010001.dat", Bytes()
                                        .text("Sales", 23)
                                        .text("Y", 1)
                                        .text("S", 1)
                                        .zeros(8)
                                        .int16(201)
                                        .text("Fuel", 23)
                                        .text("Y", 1)
                                        .text("E", 1)
                                        .zeros(8)
                                        .int16(407));
}

// Four rows of 10.00 in Amount and in the first analysis column of journal
// 1's September quarter (the first amounts record also holds the rows and
// the last column in use).
inline void writeFourRows(const std::filesystem::path& area) {
  Bytes lines;
  Bytes amounts;
  for (int r = 1; r <= 4; ++r) {
    lines.text("0" + std::to_string(r) + "/08/26", 8).text("Row", 46).text(std::to_string(r), 5);
    lines.text("Y", 1).int16(0);
    amounts.raw8(0).raw8(r == 1 ? 40000 : 0).raw8(r == 1 ? 50000 : 0).raw8(0);
    amounts.raw8(100000).raw8(100000).zeros(8 * 95);
  }
  writeBytes(area / "DI010001.dat", lines);
  writeBytes(area / "AI010001.dat", amounts);
}

}  // namespace lum::test
