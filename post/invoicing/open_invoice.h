#pragma once

#include "post/invoicing/invoice_book.h"
#include "post/invoicing/invoice_editor.h"

namespace lum {

class OpenJournal;
class Session;

// The invoice open in the invoice window: the entity's invoicing files,
// open for as long as it lives, and the editor of the invoice of the
// journal window's current row. Ok saves the journal with the invoice.
class OpenInvoice {
 public:
  OpenInvoice(Session& session, OpenJournal& journal);
  OpenInvoice(const OpenInvoice&) = delete;
  OpenInvoice& operator=(const OpenInvoice&) = delete;

  // Opens the invoice of the journal's current row; false, after telling
  // the user, when the row's reference names no invoice.
  bool open() { return mEditor.open(); }
  InvoiceEditor& editor() { return mEditor; }

 private:
  InvoiceBook mBook;
  InvoiceEditor mEditor;
};

}  // namespace lum
