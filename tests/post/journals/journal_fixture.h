#pragma once

#include <map>
#include <string>

#include "post/journals/journal_files.h"
#include "post/login/work_area.h"
#include "tests/post/login/session_fixture.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/test_support.h"

namespace lum::test {

// A logged-in session on the one-entity work area (quarterly, posting mode
// 0, the September quarter "I" selected), whose journal 1 has two rows and
// whose June quarter "F" holds rows of its own.
struct JournalParts : SessionParts {
  JournalParts() {
    writeOneEntityWorkArea(area());
    session.setHost(host);
    if (openWorkArea(session, 1, AreaMode::StartUp) != AreaOutcome::Shown) {
      throw std::runtime_error("the work area did not open");
    }
    writeBytes(area() / "DI010001.dat", Bytes()
                                            .text("03/08/05", 8)
                                            .text("Fuel", 46)
                                            .text("1", 5)
                                            .text("Y", 1)
                                            .int16(0)
                                            .text("04/08/05", 8)
                                            .text("Sales", 46)
                                            .text("2", 5)
                                            .text("Y", 1)
                                            .int16(0));
    writeBytes(area() / "AI010001.dat",
               amounts({{9, 2, 6, 0, 110, 0, 110}, {0, 0, 0, 0, -55, -55, 0}}));
    writeBytes(area() / "GI010001.dat", currencies({-55, 110}));
    writeSalesAndFuelAccounts(area());
    writeBytes(area() / "DF010001.dat", Bytes().text("01/05/05", 8).text("May", 46).zeros(8));
    writeBytes(area() / "AF010001.dat", amounts({{0, 1, 7, 0, 30, 10, 20, 5}}));
    writeBytes(area() / "GF010001.dat", currencies({10, 20, 5}));
  }

  // Amounts records from whole dollars by element (record 1's elements 1
  // and 2 are the counts, given as they are).
  static Bytes amounts(const std::vector<std::vector<long long>>& rows) {
    Bytes bytes;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      for (std::size_t e = 0; e < 101; ++e) {
        const long long value = e < rows[r].size() ? rows[r][e] : 0;
        bytes.raw8(value * 10000);
      }
    }
    return bytes;
  }
  static Bytes currencies(const std::vector<long long>& dollars) {
    Bytes bytes;
    for (const long long value : dollars) {
      bytes.raw8(value * 10000);
    }
    return bytes;
  }

  // Every file of the work area but the lock and the rollback folder, by name.
  std::map<std::string, std::vector<std::byte>> areaFiles() const {
    std::map<std::string, std::vector<std::byte>> files;
    for (const auto& entry : std::filesystem::directory_iterator(area())) {
      const std::string name = entry.path().filename().string();
      if (entry.is_regular_file() && name != "LumPost.lck") {
        files[name] = readBytes(entry.path());
      }
    }
    return files;
  }

  FakeHost host;
};

}  // namespace lum::test
