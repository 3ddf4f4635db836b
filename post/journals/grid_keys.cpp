#include "post/journals/grid_keys.h"

namespace lum {
namespace {

// Characters of the keys 186 to 222 without and with Shift (UTF-8, as all
// texts in memory).
struct PunctuationKey {
  int code;
  const char* plain;
  const char* shifted;
};
constexpr PunctuationKey kPunctuation[] = {{192, "`", "~"},  {189, "-", "_"},      {187, "=", "+"},
                                           {219, "[", "{"},  {221, "]", "}"},      {186, ";", ":"},
                                           {222, "'", "\""}, {188, ",", "<"},      {190, ".", ">"},
                                           {191, "/", "?"},  {220, "\\", "\u00a6"}};

constexpr char kShiftedDigits[] = {')', '!', '@', '#', '$', '%', '^', '&', '*', '('};
constexpr int kSpace = 32;

}  // namespace

std::optional<TypedKey> typedKey(int keyCode, bool shift) {
  if (keyCode >= 'A' && keyCode <= 'Z') {
    return TypedKey{std::string(1, static_cast<char>(shift ? keyCode : keyCode + ('a' - 'A')))};
  }
  if (keyCode >= '0' && keyCode <= '9') {
    return TypedKey{
        std::string(1, shift ? kShiftedDigits[keyCode - '0'] : static_cast<char>(keyCode))};
  }
  if (keyCode >= 91 && keyCode <= 105) {
    return TypedKey{std::string(1, static_cast<char>(keyCode - 48)), true};
  }
  if (keyCode >= 106 && keyCode <= 111) {
    return TypedKey{std::string(1, static_cast<char>(keyCode - 64))};
  }
  if (keyCode == kSpace) {
    return TypedKey{" "};
  }
  for (const PunctuationKey& key : kPunctuation) {
    if (key.code == keyCode) {
      return TypedKey{shift ? key.shifted : key.plain};
    }
  }
  return std::nullopt;
}

}  // namespace lum
