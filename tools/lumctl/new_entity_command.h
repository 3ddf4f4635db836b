#pragma once

#include <iosfwd>
#include <string>

#include "post/login/entity_choices.h"
#include "tools/lumctl/lumctl.h"

namespace lum {

struct NewEntityOptions {
  std::string name;
  std::string secondLine;
  EntityChoices choices;
};

// Adds an entity to the operator's work area as the entities list and the
// entity details window do, and prints its number.
int newEntity(const GlobalOptions& global, const NewEntityOptions& options, std::ostream& out,
              std::ostream& err);

}  // namespace lum
