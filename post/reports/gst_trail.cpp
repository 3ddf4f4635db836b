#include "post/reports/gst_trail.h"

#include <fmt/core.h>

#include <cctype>
#include <charconv>
#include <stdexcept>

namespace lum {

static_assert(sizeof(GstTrailLine) == 64, "a trail line's size counts: a book has millions");

namespace {

constexpr std::array<std::string_view, kGstColumns> kColumnTitles = {"Income subject to GST",
                                                                     "GST on income",
                                                                     "Payments subject to GST",
                                                                     "GST credits",
                                                                     "Income not subject to GST",
                                                                     "Payments not subject to GST",
                                                                     "PAYG"};

std::string_view typeName(AccountType type) {
  switch (type) {
    case AccountType::Taxes:
      return "Taxes";
    case AccountType::CurrentAssets:
      return "Current Assets";
    case AccountType::CurrentLiabilities:
      return "Current Liabilities";
    case AccountType::LongTermLiabilities:
      return "Long Term Liabilities";
    case AccountType::Proprietorship:
      return "Proprietorship";
    case AccountType::Drawings:
      return "Drawings";
    case AccountType::Contributions:
      return "Contributions";
    case AccountType::Wages:
      return "Wages";
    default:
      return "This";
  }
}

Currency elevenths(Currency value) {
  return Currency::fromRaw(value.raw() / 11);
}

}  // namespace

// Where a slot of `numbers` holds `number`, or the first free slot; the
// count when there is neither.
template <std::size_t N>
std::size_t slotOf(const std::array<std::uint8_t, N>& numbers, std::size_t number) {
  for (std::size_t i = 0; i < N; ++i) {
    if (numbers[i] == number || numbers[i] == 0) {
      return i;
    }
  }
  return N;
}

Currency GstTrailLine::added(std::size_t reportColumn) const {
  const std::size_t i = slotOf(mColumns, reportColumn + 1);
  return i < mColumns.size() && mColumns[i] != 0 ? mAdded[i] : Currency();
}

Currency GstTrailLine::addedToLabel(int label) const {
  const std::size_t i = slotOf(mLabels, static_cast<std::size_t>(label));
  return i < mLabels.size() && mLabels[i] != 0 ? mLabelAdded[i] : Currency();
}

void GstTrailLine::add(std::size_t reportColumn, Currency figure) {
  const std::size_t i = slotOf(mColumns, reportColumn + 1);
  if (i == mColumns.size()) {
    throw std::logic_error("An amount added to more than three report columns");
  }
  mColumns[i] = static_cast<std::uint8_t>(reportColumn + 1);
  mAdded[i] += figure;
}

void GstTrailLine::addToLabel(int label, Currency figure) {
  const std::size_t i = slotOf(mLabels, static_cast<std::size_t>(label));
  if (i == mLabels.size()) {
    throw std::logic_error("An amount added to more than two BAS labels");
  }
  mLabels[i] = static_cast<std::uint8_t>(label);
  mLabelAdded[i] += figure;
}

void GstTrailLine::turn(std::size_t reportColumn) {
  const std::size_t i = slotOf(mColumns, reportColumn + 1);
  if (i < mColumns.size() && mColumns[i] != 0) {
    mAdded[i] = -mAdded[i];
  }
}

void GstTrailLine::turnLabel(int label) {
  const std::size_t i = slotOf(mLabels, static_cast<std::size_t>(label));
  if (i < mLabels.size() && mLabels[i] != 0) {
    mLabelAdded[i] = -mLabelAdded[i];
  }
}

std::optional<TrailFigure> TrailFigure::parse(std::string_view text) {
  if (text.size() < 2) {
    return std::nullopt;
  }
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  int number = 0;
  const auto [end, error] = std::from_chars(text.data() + 1, text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || text[1] == '0') {
    return std::nullopt;
  }
  if (letter == 'C' && number >= 1 && number <= static_cast<int>(kGstColumns)) {
    return column(number);
  }
  if (letter == 'G' && number >= 1 && number < static_cast<int>(kBasLabels)) {
    return label(number);
  }
  return std::nullopt;
}

std::string TrailFigure::name() const {
  switch (kind) {
    case Kind::Column:
      return fmt::format("C{}", number);
    case Kind::Label:
      return fmt::format("G{}", number);
    default:
      return "all";
  }
}

std::string TrailFigure::title() const {
  switch (kind) {
    case Kind::Column:
      return std::string(kColumnTitles[static_cast<std::size_t>(number - 1)]);
    case Kind::Label:
      return std::string(basLabelTitle(static_cast<std::size_t>(number)));
    default:
      return "The whole report";
  }
}

std::string_view routeName(TrailRoute route) {
  switch (route) {
    case TrailRoute::Taxed:
      return "taxed";
    case TrailRoute::TaxedByRow:
      return "taxed by row";
    case TrailRoute::Free:
      return "free";
    case TrailRoute::FreeByRow:
      return "free by row";
    case TrailRoute::GstAmount:
      return "GST amount";
    case TrailRoute::Split:
      return "split";
    case TrailRoute::Payg:
      return "PAYG";
  }
  return "";
}

std::string_view GstTrail::accountOf(const GstTrailRow& row, int column) const {
  const auto j = static_cast<std::size_t>(row.journal - 1);
  if (column < 1 || j >= accounts.size() || static_cast<std::size_t>(column) > accounts[j].size()) {
    return {};
  }
  const std::string& name = accounts[j][static_cast<std::size_t>(column - 1)].name;
  return name.empty() ? std::string_view("Unspecified") : std::string_view(name);
}

std::string GstTrail::reasonOf(const GstLeftOut& out) const {
  switch (out.why) {
    case GstLeftOut::Why::AccountType: {
      const GstTrailRow& row = rowOf(out);
      const auto& journal = accounts[static_cast<std::size_t>(row.journal - 1)];
      const AccountType type = journal[static_cast<std::size_t>(out.column - 1)].type;
      return fmt::format("{} accounts stay out of the GST report", typeName(type));
    }
    case GstLeftOut::Why::NoAmount:
      return "No amount in an analysis column";
    case GstLeftOut::Why::Damaged:
      return damage[out.column].message();
  }
  return "";
}

Currency shareOf(const GstTrailLine& line, TrailFigure figure) {
  const auto c = [&](int n) { return line.added(static_cast<std::size_t>(n - 1)); };
  const auto g = [&](int n) { return line.addedToLabel(n); };
  if (figure.kind == TrailFigure::Kind::Column) {
    return c(figure.number);
  }
  if (figure.kind != TrailFigure::Kind::Label) {
    return Currency();
  }
  // The labels as computeBas makes them, before the whole dollars.
  switch (figure.number) {
    case 1:
      return c(1) + c(5);
    case 3:
      return c(5) - g(2) - g(4);
    case 5:
      return c(5);
    case 6:
      return c(1);
    case 8:
      return c(1) + g(7);
    case 9:
      return elevenths(c(1) + g(7));
    case 11:
      return c(3) + c(6) - g(10);
    case 12:
      return c(3) + c(6);
    case 14:
      return c(6) - g(13) - g(15);
    case 16:
      return c(6);
    case 17:
    case 19:
      return c(3);
    case 18:
      return Currency();
    case 20:
      return elevenths(c(3));
    default:  // 2, 4, 7, 10, 13, 15: added as they are
      return g(figure.number);
  }
}

FigureTrail figureTrail(const GstTrail& trail, const GstFigures& figures, TrailFigure figure) {
  FigureTrail result;
  result.figure = figure;
  const GstRow totals = totalsOf(figures);
  if (figure.kind == TrailFigure::Kind::Column) {
    result.value = totals[static_cast<std::size_t>(figure.number - 1)];
  } else if (figure.kind == TrailFigure::Kind::Label) {
    result.value =
        computeBas(totals, figures.accumulated).labels[static_cast<std::size_t>(figure.number)];
  }
  Currency sum;
  for (std::size_t i = 0; i < trail.lines.size(); ++i) {
    const Currency share = shareOf(trail.lines[i], figure);
    if (figure.kind == TrailFigure::Kind::Whole || !share.isZero()) {
      result.shares.push_back({static_cast<std::uint32_t>(i), share});
      sum += share;
    }
  }
  result.centsLeftOut = result.value - sum;
  return result;
}

std::vector<TrailFigure> trailFigures() {
  std::vector<TrailFigure> figures;
  for (int n = 1; n <= static_cast<int>(kGstColumns); ++n) {
    figures.push_back(TrailFigure::column(n));
  }
  for (int n = 1; n < static_cast<int>(kBasLabels); ++n) {
    figures.push_back(TrailFigure::label(n));
  }
  return figures;
}

}  // namespace lum
