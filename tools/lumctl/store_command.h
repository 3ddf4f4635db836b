#pragma once

#include <iosfwd>
#include <string>

#include "tools/lumctl/lumctl.h"

namespace lum {

struct StoreOptions {
  std::string slot = "next";  // "next" or a slot number
  bool previousYear = false;  // the previous-year store folder
  bool clear = false;         // bring-back: clear the work area first
};

// lumctl store: Store Away of the work area into the next slot or slot N.
int storeEntity(const GlobalOptions& global, const StoreOptions& options, std::ostream& out,
                std::ostream& err);
// lumctl bring-back: Bring Back of slot N onto the work area.
int bringBackEntity(const GlobalOptions& global, const StoreOptions& options, std::ostream& out,
                    std::ostream& err);
// lumctl stored: slot, name and date of every stored entity, tab-separated.
int listStored(const GlobalOptions& global, const StoreOptions& options, std::ostream& out,
               std::ostream& err);

}  // namespace lum
