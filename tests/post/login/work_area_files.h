#pragma once

#include <filesystem>

#include "tests/support/test_support.h"

namespace lum::test {

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
  writeBytes(area / "Ini-0001.dat", Bytes()
                                        .text("Posting Mode 0 or 3", 36)
                                        .text("0", 16)
                                        .text("M-Monthly or Q-Quarterly", 36)
                                        .text("Q", 16));
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

}  // namespace lum::test
