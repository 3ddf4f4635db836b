#include "post/login/operator_rights.h"

#include <initializer_list>

namespace lum {
namespace {

// Every command the rights speak of; all start enabled.
constexpr const char* kCommands[] = {
    "Command1", "Command2",   "Command3",  "Command4", "Command5",     "Command6",      "Command7",
    "Command8", "Command9",   "Command10", "Combo1",   "Label3",       "Ext",           "Utils",
    "Cler",     "ReSot",      "ExtoFpy",   "ImFlpy",   "WFrmFlpy",     "WFrmHard",      "FontSel",
    "PeekM",    "ClearRatio", "Restorlar", "Update4",  "FixRowCollar", "ConvSinglelar", "Budgt",
    "PostBud",  "ResBudgt",   "Entiy",     "Configer", "CloseYM",      "DelPerM",       "FinRepM",
    "InvM",     "InvAllM",    "InvUnpM",   "InvODM",   "StatsM",       "CusListM",      "ProListM",
    "HelpM",    "UndoHk"};

void set(CommandStates& states, std::initializer_list<const char*> names, bool enabled) {
  for (const char* name : names) {
    states[name] = enabled;
  }
}

// Command2 up to the given command.
void setCommandsUpTo(CommandStates& states, int last, bool enabled) {
  for (int n = 2; n <= last; ++n) {
    states["Command" + std::to_string(n)] = enabled;
  }
}

}  // namespace

CommandStates operatorRights(const RightsContext& context) {
  CommandStates states;
  for (const char* name : kCommands) {
    states[name] = true;
  }

  set(states, {"Cler", "ReSot"}, false);
  states["Command9"] = context.utilitiesPresent;
  states["Entiy"] = !context.workingFromFloppy;
  states["Configer"] = context.workingFromFloppy;

  if (context.operatorClass == 'Y' || context.operatorClass == 'A') {
    set(states,
        {"Label3", "Command10", "Command9", "Command2", "Command3", "Command4", "Command6", "Utils",
         "CloseYM", "DelPerM"},
        false);
  }
  if (context.operatorClass == 'A') {
    set(states, {"Utils", "ReSot", "FontSel", "PeekM", "ClearRatio", "Command6", "Command9"}, true);
    set(states,
        {"Cler", "ExtoFpy", "ImFlpy", "WFrmFlpy", "WFrmHard", "Restorlar", "Update4",
         "FixRowCollar", "ConvSinglelar", "UndoHk"},
        false);
  }

  const auto closesMainCommands = [&](int lastCommand) {
    set(states, {"Combo1", "Budgt", "ExtoFpy", "ImFlpy", "WFrmFlpy", "WFrmHard", "Entiy"}, false);
    setCommandsUpTo(states, lastCommand, false);
  };
  switch (context.currentWindow) {
    case 1:  // the journal grid
      set(states, {"Cler", "ReSot"}, true);
      closesMainCommands(9);
      states["ClearRatio"] = false;
      break;
    case 2:
    case 3:
    case 4:
    case 6:
    case 7:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 17:  // the GST report's details, over the viewer
      closesMainCommands(9);
      states["Utils"] = false;
      break;
    case 5:  // the entities list
      closesMainCommands(7);
      states["Utils"] = false;
      states["Configer"] = true;
      break;
    default:
      break;
  }
  return states;
}

}  // namespace lum
