#include "post/login/window_table.h"

#include <array>
#include <stdexcept>

namespace lum {
namespace {

constexpr std::array<WindowSpec, kWindowCount> kTable = {{
    {0, "Form1", "Journals List", 1, 10, -1, true, true, true, 1000},
    {1, "LUMForm", "Journal", 0, 0, -1, false, true, true, 1360},
    {2, "JnlDets", "Journal Details", 1, 5, 5, false, false, true, 2110},
    {3, "DocFor", "Accounts Type & Ledgers Account Numbers", 2, 10, -1, true, true, true, 1260},
    {4, "Budget", "Budgeted Sales & Cost of Sales", 2, 12, 24, false, false, true, 1580},
    {5, "Form1", "Entities List", 1, 10, -1, true, true, true, 1200},
    {6, "EntDets", "Client Manager", 1, 13, 13, false, false, false, 1210},
    {7, "Transac", "Transactions Transfer", 1, 1, 1, false, false, false, 1760},
    {8, "UtlCntrs", "List Box", 2, 10, -1, true, true, true, 1360},
    {9, "Selection", "Selection of Clients", 1, 3, -1, false, false, false, 1360},
    {10, "RepDisp", "Report Display", 0, 0, 1, false, false, false, 1710},
    {11, "UtlCntrs", "List Box", 2, 10, 100, true, true, true, 1200},
    {12, "FontDialog", "Select Font", 0, 0, 1, false, false, false, 1660},
    {13, "", "", 0, 0, 1, false, false, false, 1710},
    {14, "SrtGge", "Re Sorting Box", 0, 0, 0, false, false, false, 0},
    {15, "AcDets", "Account Details", 1, 6, 6, false, false, true, 1260},
    {16, "FincRep", "Financial Reports", 0, 0, 0, false, false, false, 1750},
    {17, "GstDetails", "GST Report Details", 0, 0, 1, false, false, false, 1710},
    {18, "Invoice", "Vazi Varur Invoice", 1, 18, -1, false, false, false, 2060},
}};

}  // namespace

std::span<const WindowSpec> windowTable() {
  return kTable;
}

const WindowSpec& windowSpec(int index) {
  if (index < 0 || index >= kWindowCount) {
    throw std::out_of_range("There is no window " + std::to_string(index));
  }
  return kTable[static_cast<std::size_t>(index)];
}

DefaultPosition defaultWindowPosition(int index) {
  // By ScrLoc.Dat record (window index + 1): left, top.
  switch (index + 1) {
    case 1:
      return {true, {300, 600}};
    case 2:
      return {true, {50, 750}};
    case 3:
    case 16:
      return {true, {2200, 1400}};
    case 4:
      return {true, {15, 550}};
    case 5:
    case 12:
      return {true, {1000, 1000}};
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 13:
    case 15:
    case 17:
      return {true, {600, 900}};
    case 11:
      return {true, {100, 100}};
    case 18:
    case 19:
      return {true, {100, 500}};
    default:
      return {};
  }
}

}  // namespace lum
