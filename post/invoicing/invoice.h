#pragma once

// An entity's invoices, customers and products as plain figures, read
// from their files by InvoiceBook (invoice_book.h). The documents and
// lists are computed from these.

#include <array>
#include <string>
#include <vector>

#include "platform/currency.h"

namespace lum {

// One line of an invoice.
struct InvoiceLine {
  int line = 0;          // 1 to 40, its row in the invoice grid
  int detailNumber = 0;  // its InD record
  int productCode = 0;   // 0 for none
  std::string particulars;
  float quantity = 0;  // never NaN or infinite: such a quantity reads as 0
  Currency unitPrice;  // without GST
  std::string gst;     // "y", "n" or blank
  Currency amount;     // with GST
};

// An invoice in use, with the lines that hold anything, in line order.
struct Invoice {
  int number = 0;
  int customer = 0;  // 0 or less: a cash sale
  // The dates as stored: "dd/mm/yy" or "dd/mm/yyyy", or anything typed.
  std::string date;
  std::string datePaid;
  std::string dateDue;
  Currency total;  // negative: a credit note
  Currency gst;
  Currency amountPaid;
  Currency discount;
  Currency writtenOff;
  std::vector<InvoiceLine> lines;

  // total - (amount paid + discount + written off); throws
  // std::overflow_error for amounts too large to add up.
  Currency balance() const { return total - (amountPaid + discount + writtenOff); }
  bool isCreditNote() const { return total < Currency(); }
};

// A customer in use.
struct Customer {
  static constexpr std::size_t kFields = 9;
  int number = 0;
  // Name, second name line, two address lines, town, state, postcode,
  // telephone, contact.
  std::array<std::string, kFields> fields{};

  const std::string& name() const { return fields[0]; }
};

// A product in use; its code is its record number.
struct Product {
  int code = 0;
  std::string description;
  Currency unitPrice;  // without GST
  std::string gst;     // "y" or "n"
};

// The name an invoice lists its customer under: "Cash Sale" without a
// customer (number 0 or less), else the customer's name ("" for a
// customer not in use).
inline constexpr const char* kCashSale = "Cash Sale";

}  // namespace lum
