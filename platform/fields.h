#pragma once

// Field codecs of the record files, and the machinery that turns one list of
// fields into a record's decoder, encoder and size.
//
// A record type lists its fields once, in file order:
//
//   struct CounterRecord {
//     static constexpr std::size_t kSize = 26;
//     std::string label;
//     std::int16_t value = 0;
//     template <class Self, class Fields>
//     static constexpr void fields(Self& r, Fields& f) {
//       f.text("label", r.label, 24);
//       f.int16("value", r.value);
//     }
//   };
//
// decodeFields, encodeFields and fieldsSize walk that list. Field names are
// snake_case; lumctl prints them.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp1252.h"
#include "platform/currency.h"
#include "platform/date.h"
#include "platform/errors.h"
#include "platform/text.h"

namespace lum {

static_assert(std::endian::native == std::endian::little,
              "the record codecs copy little-endian numbers as they are");

// Reads fields one after another from a record's bytes.
class FieldReader {
 public:
  explicit FieldReader(std::span<const std::byte> bytes) : mBytes(bytes) {}

  // Blank-padded Windows-1252 text; trailing blanks and NULs are dropped.
  void text(const char*, std::string& value, std::size_t width) {
    value = std::string(trimRight(cp1252ToUtf8(take(width))));
  }
  void int16(const char*, std::int16_t& value) { number(value); }
  void int32(const char*, std::int32_t& value) { number(value); }
  void float32(const char*, float& value) { number(value); }
  void float64(const char*, double& value) { number(value); }
  void currency(const char*, Currency& value) {
    std::int64_t raw;
    number(raw);
    value = Currency::fromRaw(raw);
  }
  void date(const char*, OleDate& value) { number(value.days); }
  template <std::size_t N>
  void bytes(const char*, std::array<std::byte, N>& value) {
    std::memcpy(value.data(), take(N).data(), N);
  }
  template <std::size_t N>
  void texts(const char* name, std::array<std::string, N>& values, std::size_t width) {
    for (auto& value : values) {
      text(name, value, width);
    }
  }
  template <std::size_t N>
  void int16s(const char* name, std::array<std::int16_t, N>& values) {
    for (auto& value : values) {
      int16(name, value);
    }
  }
  template <std::size_t N>
  void currencies(const char* name, std::array<Currency, N>& values) {
    for (auto& value : values) {
      currency(name, value);
    }
  }
  template <std::size_t N>
  void float32s(const char* name, std::array<float, N>& values) {
    for (auto& value : values) {
      float32(name, value);
    }
  }

 private:
  std::span<const std::byte> take(std::size_t width) {
    auto field = mBytes.subspan(mOffset, width);
    mOffset += width;
    return field;
  }
  template <class T>
  void number(T& value) {
    std::memcpy(&value, take(sizeof(T)).data(), sizeof(T));
  }

  std::span<const std::byte> mBytes;
  std::size_t mOffset = 0;
};

// Appends fields one after another to a record's bytes.
class FieldWriter {
 public:
  explicit FieldWriter(std::size_t size) { mBytes.reserve(size); }

  // Cut to the width, padded with blanks. Throws EncodingError for a
  // character Windows-1252 cannot hold.
  void text(const char*, const std::string& value, std::size_t width) {
    std::string single = utf8ToCp1252(value);
    single.resize(width, ' ');
    const auto* data = reinterpret_cast<const std::byte*>(single.data());
    mBytes.insert(mBytes.end(), data, data + width);
  }
  void int16(const char*, std::int16_t value) { number(value); }
  void int32(const char*, std::int32_t value) { number(value); }
  void float32(const char*, float value) { number(value); }
  void float64(const char*, double value) { number(value); }
  void currency(const char*, Currency value) { number(value.raw()); }
  void date(const char*, OleDate value) { number(value.days); }
  template <std::size_t N>
  void bytes(const char*, const std::array<std::byte, N>& value) {
    mBytes.insert(mBytes.end(), value.begin(), value.end());
  }
  template <std::size_t N>
  void texts(const char* name, const std::array<std::string, N>& values, std::size_t width) {
    for (const auto& value : values) {
      text(name, value, width);
    }
  }
  template <std::size_t N>
  void int16s(const char* name, const std::array<std::int16_t, N>& values) {
    for (const auto value : values) {
      int16(name, value);
    }
  }
  template <std::size_t N>
  void currencies(const char* name, const std::array<Currency, N>& values) {
    for (const auto value : values) {
      currency(name, value);
    }
  }
  template <std::size_t N>
  void float32s(const char* name, const std::array<float, N>& values) {
    for (const auto value : values) {
      float32(name, value);
    }
  }

  std::vector<std::byte> take() { return std::move(mBytes); }

 private:
  template <class T>
  void number(T value) {
    const auto* data = reinterpret_cast<const std::byte*>(&value);
    mBytes.insert(mBytes.end(), data, data + sizeof(T));
  }

  std::vector<std::byte> mBytes;
};

// Adds up the widths of the fields, at compile time, noting where a wanted
// field starts.
class FieldSizer {
 public:
  constexpr FieldSizer() = default;
  constexpr explicit FieldSizer(std::string_view wanted) : mWanted(wanted) {}

  constexpr void text(const char* name, const std::string&, std::size_t width) { add(name, width); }
  constexpr void int16(const char* name, std::int16_t) { add(name, 2); }
  constexpr void int32(const char* name, std::int32_t) { add(name, 4); }
  constexpr void float32(const char* name, float) { add(name, 4); }
  constexpr void float64(const char* name, double) { add(name, 8); }
  constexpr void currency(const char* name, Currency) { add(name, 8); }
  constexpr void date(const char* name, OleDate) { add(name, 8); }
  template <std::size_t N>
  constexpr void bytes(const char* name, const std::array<std::byte, N>&) {
    add(name, N);
  }
  template <std::size_t N>
  constexpr void texts(const char* name, const std::array<std::string, N>&, std::size_t width) {
    add(name, N * width);
  }
  template <std::size_t N>
  constexpr void int16s(const char* name, const std::array<std::int16_t, N>&) {
    add(name, N * 2);
  }
  template <std::size_t N>
  constexpr void currencies(const char* name, const std::array<Currency, N>&) {
    add(name, N * 8);
  }
  template <std::size_t N>
  constexpr void float32s(const char* name, const std::array<float, N>&) {
    add(name, N * 4);
  }

  constexpr std::size_t size() const { return mSize; }
  constexpr bool found() const { return mFound; }
  constexpr std::size_t offset() const { return mOffset; }

 private:
  constexpr void add(std::string_view name, std::size_t width) {
    if (!mFound && name == mWanted) {
      mFound = true;
      mOffset = mSize;
    }
    mSize += width;
  }

  std::string_view mWanted;
  bool mFound = false;
  std::size_t mOffset = 0;
  std::size_t mSize = 0;
};

template <class Record>
constexpr std::size_t fieldsSize() {
#if defined(__clang__) && defined(__GLIBCXX__)
  // clang cannot make libstdc++'s std::string in a constant expression: the
  // clang build (the fuzz targets) takes the sizes the GCC builds check.
  return Record::kSize;
#else
  Record record{};  // not const: GCC 12 cannot evaluate a const std::string here
  FieldSizer sizer;
  Record::fields(record, sizer);
  return sizer.size();
#endif
}

// Where a field starts in its record, at compile time: for code that reads
// one field of many records straight from their bytes. The clang build (the
// fuzz targets), which cannot make libstdc++'s std::string in a constant
// expression, works it out as the program runs; the GCC builds check the
// names at compile time.
#if defined(__clang__) && defined(__GLIBCXX__)
#define LUM_FIELD_OFFSET constexpr
#else
#define LUM_FIELD_OFFSET consteval
#endif
template <class Record>
LUM_FIELD_OFFSET std::size_t fieldOffset(std::string_view name) {
  Record record{};
  FieldSizer sizer(name);
  Record::fields(record, sizer);
  if (!sizer.found()) {
    throw "no field of the record has this name";  // fails the compilation
  }
  return sizer.offset();
}

// Decodes one record. Throws FormatError when the bytes are not exactly
// one record long.
template <class Record>
Record decodeFields(std::span<const std::byte> bytes) {
  if (bytes.size() != Record::kSize) {
    throw FormatError("A record of " + std::to_string(Record::kSize) + " bytes was expected, " +
                      std::to_string(bytes.size()) + " bytes were given");
  }
  Record record{};
  FieldReader reader(bytes);
  Record::fields(record, reader);
  return record;
}

template <class Record>
std::vector<std::byte> encodeFields(const Record& record) {
  FieldWriter writer(Record::kSize);
  Record::fields(record, writer);
  return writer.take();
}

}  // namespace lum
