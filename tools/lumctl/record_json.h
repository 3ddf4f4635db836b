#pragma once

#include <fmt/core.h>

#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/errors.h"
#include "platform/fields.h"
#include "platform/text.h"

namespace lum {

// An amount as lumctl's JSON writes it: a decimal string with four
// decimals ("110.0000", "-0.5000").
inline std::string currencyText(Currency value) {
  return decimalText(value, 4);
}

// Turns a record's fields into JSON members, in file order: texts trimmed,
// Currency as a decimal string with four decimals, OLE dates as
// "yyyy-mm-dd" ("" when blank), arrays as arrays. A number that cannot be
// a real value (NaN, infinity, a date out of range) throws FormatError.
class JsonFields {
 public:
  explicit JsonFields(nlohmann::ordered_json& object) : mObject(&object) {}

  void text(const char* name, const std::string& value, std::size_t) {
    (*mObject)[name] = std::string(trim(value));
  }
  void int16(const char* name, std::int16_t value) { (*mObject)[name] = value; }
  void int32(const char* name, std::int32_t value) { (*mObject)[name] = value; }
  void float32(const char* name, float value) { (*mObject)[name] = finite(name, value); }
  void float64(const char* name, double value) { (*mObject)[name] = finite(name, value); }
  void currency(const char* name, Currency value) { (*mObject)[name] = currencyText(value); }
  template <std::size_t N>
  void currencies(const char* name, const std::array<Currency, N>& values) {
    auto& array = (*mObject)[name] = nlohmann::ordered_json::array();
    for (const Currency value : values) {
      array.push_back(currencyText(value));
    }
  }
  void date(const char* name, OleDate value) {
    if (value.isBlank()) {
      (*mObject)[name] = "";
      return;
    }
    const auto date = value.date();
    if (!date) {
      throw FormatError(fmt::format("field {} holds {}, which is not a date", name, value.days));
    }
    (*mObject)[name] = fmt::format("{:04}-{:02}-{:02}", date->year(), date->month(), date->day());
  }
  template <std::size_t N>
  void bytes(const char* name, const std::array<std::byte, N>& value) {
    auto& array = (*mObject)[name] = nlohmann::ordered_json::array();
    for (const std::byte b : value) {
      array.push_back(static_cast<int>(b));
    }
  }
  template <std::size_t N>
  void texts(const char* name, const std::array<std::string, N>& values, std::size_t) {
    auto& array = (*mObject)[name] = nlohmann::ordered_json::array();
    for (const auto& value : values) {
      array.push_back(std::string(trim(value)));
    }
  }
  template <std::size_t N>
  void int16s(const char* name, const std::array<std::int16_t, N>& values) {
    (*mObject)[name] = values;
  }
  template <std::size_t N>
  void float32s(const char* name, const std::array<float, N>& values) {
    auto& array = (*mObject)[name] = nlohmann::ordered_json::array();
    for (const float value : values) {
      array.push_back(finite(name, value));
    }
  }

 private:
  template <class T>
  T finite(const char* name, T value) {
    if (!std::isfinite(value)) {
      throw FormatError(fmt::format("field {} is not a number", name));
    }
    return value;
  }

  nlohmann::ordered_json* mObject;
};

template <class Record>
void appendRecordJson(const Record& record, nlohmann::ordered_json& object) {
  JsonFields json(object);
  Record::fields(record, json);
}

}  // namespace lum
