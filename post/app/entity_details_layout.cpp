#include "post/app/entity_details_layout.h"

namespace lum {
namespace {

// The columns of the form.
enum Column : int {
  kLabels = 0,
  kAreaCode = 1,
  kNumber = 2,
  kSpace = 3,  // takes the room the window gives
  kPostcodeLabel = 4,
  kPostcode = 5,
};
constexpr int kWholeWidth = kPostcode - kAreaCode + 1;

// The widths of the short fields, in characters: as their record fields.
constexpr int kPhoneCharacters = 11;
constexpr int kPostcodeCharacters = 6;
constexpr int kAbnCharacters = 16;

}  // namespace

PanelArrangement entityDetailsLayout() {
  PanelArrangement form;
  form.stretchColumn = kSpace;
  const auto wide = [&form](int row, int span = kWholeWidth) {
    form.boxes.push_back({{row, kAreaCode, span}, 0});
  };
  const auto label = [&form](const char* text, int row, int box) {
    form.captions.push_back({text, {row, kLabels, 1}, box});
  };

  label("Name", 0, 0);
  wide(0);
  label("Name Line 2", 1, 1);
  wide(1);
  label("Address", 2, 2);
  wide(2);
  wide(3, kSpace - kAreaCode + 1);  // the address's second line, the postcode beside it
  form.captions.push_back({"Postcode", {3, kPostcodeLabel, 1}, 4});
  form.boxes.push_back({{3, kPostcode, 1}, kPostcodeCharacters});
  label("Contact", 4, 5);
  wide(4);

  form.captions.push_back({"Area Code", {5, kAreaCode, 1}, -1});
  form.captions.push_back({"Number", {5, kNumber, 1}, -1});
  const char* const phones[] = {"Telephone", "Fax", "Mobile"};
  int row = 6;
  for (const char* phone : phones) {
    label(phone, row, static_cast<int>(form.boxes.size()));
    form.boxes.push_back({{row, kAreaCode, 1}, kPhoneCharacters});
    form.boxes.push_back({{row, kNumber, 1}, kPhoneCharacters});
    ++row;
  }
  label("ABN", row, static_cast<int>(form.boxes.size()));
  form.boxes.push_back({{row, kAreaCode, kNumber - kAreaCode + 1}, kAbnCharacters});
  return form;
}

}  // namespace lum
