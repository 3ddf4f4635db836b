#include "post/reports/report_archive.h"

#include <fmt/core.h>

#include <algorithm>

#include "panel/dates.h"
#include "post/login/session.h"
#include "post/render/page_records.h"
#include "post/render/yazan.h"

namespace lum {

std::string lastFinancialYearEnd(int year, int month) {
  return fmt::format("30/06/{}", month > 6 ? year : year - 1);
}

bool ReportArchive::archiveReport(Session& session, Yazan& yazan) {
  const Date today = session.clock().today();
  if (mPeriodDate.empty()) {
    mPeriodDate =
        session.prompter()
            .input(InputPrompt{"Enter date for the financial period of the report as dd/mm/yy",
                               "Report Date", lastFinancialYearEnd(today.year(), today.month())})
            .value_or(std::string());
  }
  if (mPeriodDate.empty()) {
    return false;
  }
  std::string datePart = normaliseDate(mPeriodDate, session.clock());
  if (datePart.empty()) {
    datePart = formatDate(today);
  }
  std::replace(datePart.begin(), datePart.end(), '/', '-');

  // An archived report knows its length: the page count goes into the
  // first page's header before the copy.
  RecordFile& commands = session.file("DosyaYaz");
  RecordFile& texts = session.file("Kelam");
  auto header = commands.get<PageCommandRecord>(1);
  header.e = static_cast<float>(yazan.pageCount());
  commands.put(1, header);
  commands.flush();
  texts.flush();

  FileOps& ops = session.ops();
  const auto& programDirectory = session.paths().programDirectory();
  const int ledgers = session.login.ledgersNumber;
  ops.copy(commands.path(), programDirectory / fmt::format("Ay-{}--{}.dat", ledgers, datePart));
  ops.copy(texts.path(), programDirectory / fmt::format("Ak-{}--{}.dat", ledgers, datePart));
  session.prompter().message("Report has been archived");
  return true;
}

}  // namespace lum
