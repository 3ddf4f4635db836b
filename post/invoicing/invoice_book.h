#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "post/invoicing/invoice.h"
#include "post/invoicing/invoice_records.h"
#include "post/login/login_records.h"
#include "post/login/session.h"

namespace lum {

// The invoicing files of the session's entity (Inv-, InD-, Cus-, Prd-),
// opened through the registry while the book lives (those already open
// stay as they are and are left open), with the four counters
// of the entity's counters file ("Invoices", "Invoice Details",
// "Products", "Customers").
//
// Reading (what the documents and lists are built on):
//   invoice(n)            an invoice in use with its lines, or nothing
//   forEachInvoice(fn)    every invoice in use, in file order
//   customer(n), customers(), product(code), products()
//   customerName(n)       "Cash Sale" for a number of 0 or less
//   problems()            what was found damaged while reading
// Nothing read ever throws for bad contents: a record number outside the
// files or the counters' range, a detail number that is not a whole
// number of a record of the lines file, a quantity that is not a number
// each read as blank (a free record, no line, a quantity of 0) and are
// told once in problems().
//
// Writing (the invoice window's save and clear) goes through the record
// functions and the counters; the caller runs them under one work-area
// transaction.
class InvoiceBook {
 public:
  explicit InvoiceBook(Session& session);
  ~InvoiceBook();
  InvoiceBook(const InvoiceBook&) = delete;
  InvoiceBook& operator=(const InvoiceBook&) = delete;

  // A counter's value, 0 when it is below 0.
  int counter(EntityCounter counter) const;
  void setCounter(EntityCounter counter, int value);

  // The records as stored; a number outside 1 to 32767 reads blank.
  InvoiceRecord invoiceRecord(int number) const;
  InvoiceLineRecord lineRecord(int detailNumber) const;
  CustomerRecord customerRecord(int number) const;
  ProductRecord productRecord(int code) const;
  void putInvoice(int number, const InvoiceRecord& record);
  void putLine(int detailNumber, const InvoiceLineRecord& record);
  void putCustomer(int number, const CustomerRecord& record);
  void putProduct(int code, const ProductRecord& record);

  // The detail number of line `line` of an invoice record: 0 for none, and
  // for one that is not a whole number within the lines file (told).
  int detailNumberOf(int invoice, const InvoiceRecord& record, int line) const;

  std::optional<Invoice> invoice(int number) const;
  // Every invoice in use, from record 1 to the end of the file (or to the
  // counter, when that is higher); without reading their lines when the
  // caller needs only the figures of the header (the invoice lists).
  enum class Lines { Read, Skip };
  void forEachInvoice(const std::function<void(const Invoice&)>& visit,
                      Lines lines = Lines::Read) const;
  std::optional<Customer> customer(int number) const;
  std::vector<Customer> customers() const;
  std::optional<Product> product(int code) const;
  std::vector<Product> products() const;
  std::string customerName(int number) const;

  // Damage found so far, each told once: files shorter than their
  // counters, detail numbers that point nowhere, quantities that are no
  // numbers.
  const std::vector<std::string>& problems() const { return mProblems; }
  // The problems found since the last call, for telling the user.
  std::vector<std::string> takeNewProblems();

 private:
  RecordFile& file(const char* logicalName) const;
  std::int64_t records(const char* logicalName) const;
  void tell(std::string problem) const;
  void checkLengths();
  std::optional<Invoice> invoiceOf(int number, Lines lines) const;

  Session* mSession;
  std::vector<const char*> mOpened;  // the files this book opened and closes
  mutable std::vector<std::string> mProblems;
  mutable std::size_t mTold = 0;
};

}  // namespace lum
