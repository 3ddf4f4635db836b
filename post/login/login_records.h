#pragma once

// Record layouts of the log-in files: set-up values, the GST date, the
// chosen font and the report print settings; the counters, entities,
// window positions and operator files both programs read are in
// platform/suite_records.h.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/date.h"
#include "platform/fields.h"
#include "platform/suite_records.h"

namespace lum {

// Record numbers of Lcn- files.
enum class EntityCounter : std::int16_t {
  Journals = 1,
  Version = 2,
  Invoices = 3,
  InvoiceDetails = 4,
  Products = 5,
  Customers = 6,
};

// Record numbers of Entcoun.dat.
enum class WorkAreaCounter : std::int16_t {
  EntityCount = 1,
  CurrentEntity = 2,
  StorageNumber = 3,
};

// Ini-EEEE.dat: a prompt and its value, records 1 to 9 (see SetupRecordNumber).
struct SetupRecord {
  static constexpr std::size_t kSize = 52;

  std::string prompt;
  std::string value;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("prompt", r.prompt, 36);
    f.text("value", r.value, 16);
  }
  static SetupRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<SetupRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// GSTDate.dat record 1: the start of the GST period last selected.
struct GstDateRecord {
  static constexpr std::size_t kSize = 8;

  OleDate date;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.date("date", r.date);
  }
  static GstDateRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<GstDateRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// FontList.ini record 1: the chosen report font.
struct FontNameRecord {
  static constexpr std::size_t kSize = 32;

  std::string fontName;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("font_name", r.fontName, 32);
  }
  static FontNameRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<FontNameRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// ..\RpP-O.Dat record 1: how the operator's reports are printed. A field
// holding 0 (an empty font name) means its default applies.
struct ReportPrintSettings {
  static constexpr std::size_t kSize = 178;

  std::int16_t fontSize = 0;
  std::int32_t boxColour = 0;   // RGB colour value
  std::int32_t textColour = 0;  // RGB colour value
  std::int16_t leftMargin = 0;  // millimetres, as the three below
  std::int16_t rightEdge = 0;
  std::int16_t topMargin = 0;
  std::int16_t bottomLimit = 0;
  std::array<std::string, 5> fontNames;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.int16("font_size", r.fontSize);
    f.int32("box_colour", r.boxColour);
    f.int32("text_colour", r.textColour);
    f.int16("left_margin", r.leftMargin);
    f.int16("right_edge", r.rightEdge);
    f.int16("top_margin", r.topMargin);
    f.int16("bottom_limit", r.bottomLimit);
    f.texts("font_names", r.fontNames, 32);
  }
  static ReportPrintSettings decode(std::span<const std::byte> bytes) {
    return decodeFields<ReportPrintSettings>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

static_assert(fieldsSize<SetupRecord>() == SetupRecord::kSize);
static_assert(fieldsSize<GstDateRecord>() == GstDateRecord::kSize);
static_assert(fieldsSize<FontNameRecord>() == FontNameRecord::kSize);
static_assert(fieldsSize<ReportPrintSettings>() == ReportPrintSettings::kSize);

}  // namespace lum
