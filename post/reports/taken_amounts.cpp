#include "post/reports/taken_amounts.h"

#include "post/login/journal_records.h"
#include "post/login/session.h"

namespace lum {

JournalTaking JournalTaking::of(Session& session, const JournalFiles& files, int journal) {
  const SetupValues& setup = session.login.setup;
  JournalTaking taking;
  taking.settings = GstSettings::of(setup);
  taking.lastFixed = lastFixedColumn(setup.postingMode);
  const std::string kind(trim(session.file("Jnl").get<JournalHeaderRecord>(journal).type));
  taking.negate = setup.postingMode == PostingMode::SmallCashBusiness && kind == "I";
  for (const AnalysisColumn& column :
       files.analysisColumns(Journal::kMaxColumn - taking.lastFixed)) {
    const std::string name(trim(column.name));
    const GstAccount gst = GstAccount::of(column);
    taking.accounts.push_back(
        {name.empty() ? "Unspecified" : name, gst, GstTakeOut::of(gst, taking.settings)});
  }
  return taking;
}

}  // namespace lum
