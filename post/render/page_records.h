#pragma once

// Record layouts of the page files: the page command file DosyaYaz.dat and
// the page text file Kelamlar.dat of the work area.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/fields.h"
#include "post/login/file_registry.h"

namespace lum {

// DosyaYaz.dat: records 1 to 1000 are page headers (code "Page" with the
// first and last command record of page p in record p, "END" after the last
// page); the commands of the report follow from record 1001. Fields a
// command does not use hold whatever the previous command left in them.
struct PageCommandRecord {
  static constexpr std::size_t kSize = 28;

  std::string code;  // four characters, blank padded
  float a = 0;
  float b = 0;
  Currency c;  // amount, alignment, style or colour index
  float d = 0;
  float e = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("code", r.code, 4);
    f.float32("a", r.a);
    f.float32("b", r.b);
    f.currency("c", r.c);
    f.float32("d", r.d);
    f.float32("e", r.e);
  }
  static PageCommandRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<PageCommandRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Kelamlar.dat: one text of a page command a record, numbered from 1 through
// the whole report.
struct PageTextRecord {
  static constexpr std::size_t kSize = 140;

  std::string text;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("text", r.text, 140);
  }
  static PageTextRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<PageTextRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

static_assert(fieldsSize<PageCommandRecord>() == PageCommandRecord::kSize);
static_assert(fieldsSize<PageTextRecord>() == PageTextRecord::kSize);
static_assert(registeredRecordLength("DosyaYaz") == PageCommandRecord::kSize);
static_assert(registeredRecordLength("Kelam") == PageTextRecord::kSize);

}  // namespace lum
