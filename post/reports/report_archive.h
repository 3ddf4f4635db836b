#pragma once

#include <string>

namespace lum {

class Session;
class Yazan;

// Keeps a copy of the report on the viewer (the work area's two page
// files) in the program directory, named after the ledgers number and the
// end of the financial period the report belongs to:
// Ay-<ledgers>--<dd-mm-yy>.dat and Ak-<ledgers>--<dd-mm-yy>.dat.
class ReportArchive {
 public:
  // The viewer's Archive button. Asks for the period's end once a run of
  // the program; false when that question is cancelled.
  bool archiveReport(Session& session, Yazan& yazan);

  const std::string& periodDate() const { return mPeriodDate; }

 private:
  std::string mPeriodDate;
};

// The end of the last financial year: 30 June of this year after June,
// else of last year ("30/06/2005").
std::string lastFinancialYearEnd(int year, int month);

}  // namespace lum
