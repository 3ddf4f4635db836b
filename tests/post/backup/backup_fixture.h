#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "post/login/work_area.h"
#include "tests/post/invoicing/invoice_fixture.h"
#include "tests/support/crash_points.h"

namespace lum::test {

// The logged-in one-entity work area of the invoice tests, with the
// analysis templates, the files of the area that are not working data, a
// budget and a full-year journal file.
struct BackupParts : InvoiceParts {
  BackupParts() {
    for (const char* name : {"Anljnl.dat", "Anlpch.dat", "Anspay.dat", "Anstak.dat"}) {
      writeText(area() / name, std::string("template ") + name);
    }
    writeText(area() / "GSTDate.dat", "gstdate!");
    writeText(area() / "DosyaYaz.dat", "page files list");
    writeBytes(area() / "DM010001.dat", Bytes().text("01/09/05", 8).text("Year", 46).zeros(8));
    writeBytes(area() / "Ax010001.dat", Bytes().text("extra", 20));
    BudgetRecord budget;
    for (std::size_t m = 0; m < BudgetRecord::kMonths; ++m) {
      budget.budgetedSales[m] = Currency::fromCents(100 * (100 + static_cast<long long>(m)));
      budget.actualSales[m] = Currency::fromCents(100 * (50 + static_cast<long long>(m)));
      budget.actualCostOfSales[m] = Currency::fromCents(100 * (20 + static_cast<long long>(m)));
    }
    put("Bdg-0001.dat", 1, budget);
  }

  // Every file below the area (the snapshots too) but the lock and the rollback folder.
  TreeFiles everything() const { return treeFiles(area(), {"LumPost.lck"}); }
  // The same without the snapshots.
  TreeFiles withoutSnapshots() const {
    TreeFiles tree = everything();
    std::erase_if(tree, [](const auto& entry) { return entry.first.rfind("backup/", 0) == 0; });
    return tree;
  }
};

}  // namespace lum::test
