#pragma once

namespace lum {

// The four choices of the entity details window.
struct EntityChoices {
  bool otherBusiness = false;  // posting mode 3, else a small cash business (0)
  bool quarterly = false;
  bool invoicing = false;
  bool accruals = false;
};

}  // namespace lum
