#pragma once

#include <iosfwd>
#include <string>

#include "tools/lumctl/lumctl.h"

namespace lum {

struct InvoiceOptions {
  int journal = 1;
  std::string period;
  int row = 0;
  std::string file;  // the JSON of `invoice save`
  int number = 0;    // the invoice of `show` and `clear`
  bool yes = false;  // `clear`: the answer to its question
};

// Opens the invoice of a journal row as the journal window's Invoice button
// does, types the JSON's contents into it as at the invoice window, presses
// Ok and saves the journal; prints the invoice number.
int saveInvoice(const GlobalOptions& global, const InvoiceOptions& options, std::ostream& out,
                std::ostream& err);

// Prints an invoice in use as JSON.
int showInvoice(const GlobalOptions& global, const InvoiceOptions& options, std::ostream& out,
                std::ostream& err);

// Clears an invoice, as the journal window's Del Row does when told Yes;
// without --yes only asks.
int clearInvoiceCommand(const GlobalOptions& global, const InvoiceOptions& options,
                        std::ostream& out, std::ostream& err);

}  // namespace lum
