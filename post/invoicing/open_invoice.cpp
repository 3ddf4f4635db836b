#include "post/invoicing/open_invoice.h"

#include "post/journals/open_journal.h"
#include "post/login/session.h"

namespace lum {
namespace {

InvoiceContext contextOf(Session& session, OpenJournal& journal) {
  InvoiceContext context;
  context.prompter = &session.prompter();
  context.clock = &session.clock();
  context.ops = &session.ops();
  context.rollbackFolder = session.rollbackFolder();
  context.gstRate = session.login.setup.gstRate;
  context.saveJournal = [&journal] { journal.saveAndKeepEditing(); };
  return context;
}

}  // namespace

OpenInvoice::OpenInvoice(Session& session, OpenJournal& journal)
    : mBook(session),
      mEditor(mBook, journal.journal(), journal.editor(), contextOf(session, journal)) {}

}  // namespace lum
