#include "post/reports/gst_trail_recorder.h"

#include "platform/record_blocks.h"
#include "platform/text.h"
#include "post/journals/journal_files.h"
#include "post/login/session.h"

namespace lum {
namespace {

TrailRoute trailRoute(const GstRoute& route, bool rowSaysGst) {
  switch (route.kind) {
    case GstRoute::Kind::Taxed:
      return TrailRoute::Taxed;
    case GstRoute::Kind::Free:
      return TrailRoute::Free;
    case GstRoute::Kind::GstAmount:
      return TrailRoute::GstAmount;
    case GstRoute::Kind::Split:
      return TrailRoute::Split;
    default:
      return rowSaysGst ? TrailRoute::TaxedByRow : TrailRoute::FreeByRow;
  }
}

}  // namespace

JournalTrailRecorder::JournalTrailRecorder(GstTrail& trail, int journal)
    : mTrail(trail),
      mJournal(journal),
      mRowsBefore(trail.rows.size()),
      mLinesBefore(trail.lines.size()),
      mNotCountedBefore(trail.notCounted.size()) {
  trail.accounts.resize(static_cast<std::size_t>(journal));
}

void JournalTrailRecorder::read(Session& session, const JournalFiles& files, int rows,
                                const std::vector<AnalysisColumn>& columns) {
  mRecords.reserve(static_cast<std::size_t>(rows));
  forEachRecord<TransactionRecord>(
      session.ops(), files.path("GrdRecs"), rows,
      [&](int, TransactionRecord record) { mRecords.push_back(std::move(record)); });
  mRowIndex.assign(static_cast<std::size_t>(rows), 0);
  std::vector<TrailAccount>& accounts = mTrail.accounts[static_cast<std::size_t>(mJournal - 1)];
  accounts.clear();
  for (std::size_t c = 1; c < columns.size(); ++c) {
    accounts.push_back({std::string(trim(columns[c].name)), columns[c].type()});
  }
}

std::uint32_t JournalTrailRecorder::rowIndex(int t) {
  std::uint32_t& index = mRowIndex[static_cast<std::size_t>(t - 1)];
  if (index == 0) {
    const TransactionRecord& record = mRecords[static_cast<std::size_t>(t - 1)];
    mTrail.rows.push_back({mJournal, t, std::string(trim(record.date)),
                           std::string(trim(record.particulars)),
                           std::string(trim(record.reference))});
    index = static_cast<std::uint32_t>(mTrail.rows.size());
  }
  return index - 1;
}

GstTrailLine* JournalTrailRecorder::amount(int t, int column, Currency value, const GstRoute& route,
                                           bool rowSaysGst) {
  const auto at = static_cast<std::uint16_t>(column);
  if (route.kind == GstRoute::Kind::Ignored) {
    if (mTrail.keepLeftOut) {
      mTrail.notCounted.push_back({rowIndex(t), at, GstLeftOut::Why::AccountType, value});
    }
    return nullptr;
  }
  if (!mTrail.keepLines) {
    return nullptr;
  }
  mRecording = t;
  mLine = GstTrailLine{};
  mLine.column = at;
  mLine.route = trailRoute(route, rowSaysGst);
  mLine.share = route.kind == GstRoute::Kind::Split ? static_cast<float>(route.ratio) : 0;
  mLine.amount = value;
  return &mLine;
}

void JournalTrailRecorder::recorded() {
  if (mRecording == 0) {
    return;
  }
  if (mTrail.figure.kind == TrailFigure::Kind::Whole || !shareOf(mLine, mTrail.figure).isZero()) {
    mLine.row = rowIndex(mRecording);  // the row is listed once it has a line
    mTrail.lines.push_back(mLine);
  }
  mRecording = 0;
}

void JournalTrailRecorder::noAmount(int t) {
  if (mTrail.keepLeftOut) {
    mTrail.notCounted.push_back({rowIndex(t), 0, GstLeftOut::Why::NoAmount, Currency()});
  }
}

void JournalTrailRecorder::finish(const GstSettings& settings, Currency payg,
                                  Currency totalIncome) {
  if (settings.postingMode == PostingMode::OtherBusiness) {
    for (std::size_t i = mLinesBefore; i < mTrail.lines.size(); ++i) {
      GstTrailLine& line = mTrail.lines[i];
      for (const GstColumn column : {kTaxedIncome, kIncomeGst, kFreeIncome}) {
        line.turn(column);
      }
      for (const int label : {2, 4, 7}) {
        line.turnLabel(label);
      }
    }
  }
  if (!payg.isZero() && mTrail.keepLines &&
      (mTrail.figure.kind == TrailFigure::Kind::Whole ||
       mTrail.figure == TrailFigure::column(kPayg + 1))) {
    mTrail.rows.push_back({mJournal, 0, "", "PAYG on the journal's total income", ""});
    GstTrailLine& line = mTrail.lines.emplace_back();
    line.row = static_cast<std::uint32_t>(mTrail.rows.size() - 1);
    line.route = TrailRoute::Payg;
    line.share = static_cast<float>(settings.paygRate);
    line.amount = totalIncome;
    line.add(kPayg, payg);
  }
}

void JournalTrailRecorder::damaged(JournalDamage damage) {
  mTrail.rows.resize(mRowsBefore);
  mTrail.lines.resize(mLinesBefore);
  mTrail.notCounted.resize(mNotCountedBefore);
  if (!mTrail.keepLeftOut) {
    mTrail.damage.push_back(std::move(damage));
    return;
  }
  mTrail.rows.push_back({mJournal, 0, "", damage.journalName, ""});
  mTrail.notCounted.push_back({static_cast<std::uint32_t>(mTrail.rows.size() - 1),
                               static_cast<std::uint16_t>(mTrail.damage.size()),
                               GstLeftOut::Why::Damaged, Currency()});
  mTrail.damage.push_back(std::move(damage));
}

}  // namespace lum
