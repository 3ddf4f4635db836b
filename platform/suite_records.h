#pragma once

// Record layouts of the files both programs of the suite read: the
// counter files, the entities, the window positions, and the suite's
// operator files (read only). LumPost owns the first three; LumUtils reads
// them, and keeps its slot in an entity's counters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/fields.h"

namespace lum {

// Lcn-EEEE.dat (the counters of an entity) and Entcoun.dat (of a work area).
struct CounterRecord {
  static constexpr std::size_t kSize = 26;

  std::string label;
  std::int16_t value = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("label", r.label, 24);
    f.int16("value", r.value);
  }
  static CounterRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<CounterRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Ent.dat, record number = entity number.
struct EntityRecord {
  static constexpr std::size_t kSize = 306;

  std::string name;
  std::string secondNameLine;
  std::string addressLine1;
  std::string addressLine2;
  std::string postcode;
  std::string contact;
  std::string telephoneAreaCode;
  std::string telephoneNumber;
  std::string faxAreaCode;
  std::string faxNumber;
  std::string mobileAreaCode;
  std::string mobileNumber;
  std::string abn;
  // Not used by these programs; kept and written back as they were read.
  std::array<std::int16_t, 4> integers{};
  std::array<std::byte, 8> eightByteNumber{};

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("name", r.name, 32);
    f.text("second_name_line", r.secondNameLine, 32);
    f.text("address_line_1", r.addressLine1, 48);
    f.text("address_line_2", r.addressLine2, 42);
    f.text("postcode", r.postcode, 6);
    f.text("contact", r.contact, 48);
    f.text("telephone_area_code", r.telephoneAreaCode, 11);
    f.text("telephone_number", r.telephoneNumber, 11);
    f.text("fax_area_code", r.faxAreaCode, 11);
    f.text("fax_number", r.faxNumber, 11);
    f.text("mobile_area_code", r.mobileAreaCode, 11);
    f.text("mobile_number", r.mobileNumber, 11);
    f.text("abn", r.abn, 16);
    f.int16s("integers", r.integers);
    f.bytes("eight_byte_number", r.eightByteNumber);
  }
  static EntityRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<EntityRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// ScrLoc.Dat record r: the position of window r - 1, in twips.
struct WindowPositionRecord {
  static constexpr std::size_t kSize = 8;

  float top = 0;
  float left = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.float32("top", r.top);
    f.float32("left", r.left);
  }
  static WindowPositionRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<WindowPositionRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// The suite's Oper.dat, record number = operator number. Written by the
// launcher; only the kind means something here.
struct OperatorRecord {
  static constexpr std::size_t kSize = 88;
  static constexpr std::int16_t kRestrictedKind = 99;

  std::string text1;
  std::string text2;
  std::int16_t integer1 = 0;
  std::string text3;
  std::int16_t kind = 0;
  std::array<std::int16_t, 7> integers{};
  std::int32_t fourByteNumber = 0;
  std::array<std::int16_t, 3> moreIntegers{};

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("text_1", r.text1, 24);
    f.text("text_2", r.text2, 24);
    f.int16("integer_1", r.integer1);
    f.text("text_3", r.text3, 12);
    f.int16("kind", r.kind);
    f.int16s("integers", r.integers);
    f.int32("four_byte_number", r.fourByteNumber);
    f.int16s("more_integers", r.moreIntegers);
  }
  static OperatorRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<OperatorRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// The suite's OpP-OOOO.dat: one integer a record. Record 402 is 1 for a
// restricted operator with extended rights; records 501 to 600 name the
// operators whose work areas this one may peek into.
struct OperatorProfileRecord {
  static constexpr std::size_t kSize = 2;

  std::int16_t value = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.int16("value", r.value);
  }
  static OperatorProfileRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<OperatorProfileRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

static_assert(fieldsSize<CounterRecord>() == CounterRecord::kSize);
static_assert(fieldsSize<EntityRecord>() == EntityRecord::kSize);
static_assert(fieldsSize<WindowPositionRecord>() == WindowPositionRecord::kSize);
static_assert(fieldsSize<OperatorRecord>() == OperatorRecord::kSize);
static_assert(fieldsSize<OperatorProfileRecord>() == OperatorProfileRecord::kSize);

}  // namespace lum
