#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace lum {

// The reports by their codes, in the order a report run goes through them.
enum class ReportCode : int {
  SetUp = 0,  // the run's set-up step, before the first report
  Gst = 1,
  TrialBalance = 2,
  JournalLedgers = 3,
  ProfitAndLoss = 4,
  TaxInvoice = 5,
  AllInvoices = 6,
  UnpaidInvoices = 7,
  OverdueInvoices = 8,
  Statements = 9,
  CustomersList = 10,
  ProductsList = 11,
  Done = 12,  // past the last report: the run has nothing more to do
};
inline constexpr ReportCode kFirstReport = ReportCode::Gst;
inline constexpr ReportCode kLastReport = ReportCode::ProductsList;

constexpr ReportCode nextReportCode(ReportCode code) {
  return static_cast<ReportCode>(static_cast<int>(code) + 1);
}
constexpr bool isReport(ReportCode code) {
  return code >= kFirstReport && code <= kLastReport;
}

// How many copies of each report the user asked for, by code.
class ReportRequests {
 public:
  std::int16_t& operator[](ReportCode code) { return mCounts.at(index(code)); }
  std::int16_t operator[](ReportCode code) const { return mCounts.at(index(code)); }

 private:
  static std::size_t index(ReportCode code) { return static_cast<std::size_t>(code); }

  // The older programs keep 21 counts; codes 1 to 11 are used.
  std::array<std::int16_t, 21> mCounts{};
};

}  // namespace lum
