#pragma once

#include <map>
#include <string>

namespace lum {

// Enabled (true) or disabled, by the object name of each main-window
// command: Command1 to Command10, Combo1, Label3 and the menu entries.
using CommandStates = std::map<std::string, bool, std::less<>>;

struct RightsContext {
  char operatorClass = 'N';  // 'N' full, 'Y' restricted, 'A' restricted with extended rights
  bool workingFromFloppy = false;
  bool utilitiesPresent = false;  // the utilities program lies in the program directory
  int currentWindow = 0;
};

// Which main-window commands the operator may use in the current window.
CommandStates operatorRights(const RightsContext& context);

}  // namespace lum
