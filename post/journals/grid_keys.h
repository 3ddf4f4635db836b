#pragma once

#include <optional>
#include <string>

namespace lum {

// What a key types into a cell of the journal and invoice grids, by the
// grid's keyboard table (Windows key codes); nothing for a key that types
// nothing (Enter, Esc, Delete, the function keys, ...).
struct TypedKey {
  std::string text;  // UTF-8
  // The numeric pad's digits: a new amount replaces the cell's old one
  // unless the cell is already being typed into.
  bool replacesUntyped = false;
};
std::optional<TypedKey> typedKey(int keyCode, bool shift);

}  // namespace lum
