#pragma once

// The figures of the invoicing documents and lists, computed from the
// invoicing files before any page is written: the tax invoice (or tax
// credit note), the lists of all, unpaid and overdue invoices, the
// customers' statements, and the customers and products lists.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/currency.h"
#include "platform/date.h"
#include "platform/suite_records.h"
#include "post/invoicing/invoice.h"

namespace lum {

class InvoiceBook;

// A date as the invoicing files hold it ("dd/mm/yy" or "dd/mm/yyyy", or
// whatever was typed); nothing when it is not a date. Such a date prints
// blank.
std::optional<Date> storedDate(std::string_view text, const Clock& clock);
// What an invoice report compares a date that is not one as: 01/01/2000.
Date comparedDate(const std::optional<Date>& date);

// Unpaid as at the report date: dated on or before it, and either paid
// after it or with a balance left.
bool unpaidAsAt(const Invoice& invoice, Date asAt, const Clock& clock);

// The entity's name, address, telephones and ABN, as its invoices and
// statements are headed.
struct Letterhead {
  std::string name;
  std::string secondLine;
  std::string address;  // address line 1, ", " line 2, " " postcode
  std::string phones;   // "Tel: ..." and " Facsimile: ..." when there are numbers
  std::string abn;      // blank when the set-up holds none

  static Letterhead of(const EntityRecord& entity);
};

// The customer's nine texts as a document heads them: the name, the
// second name line and two address lines, then the town, state and
// postcode joined by blanks.
struct Addressee {
  int number = 0;
  std::string name;
  std::vector<std::string> lines;  // second name line and address lines, the blank ones left out
  std::string locality;            // town, state and postcode joined by blanks

  static Addressee of(int number, const std::array<std::string, Customer::kFields>& fields);
};

// The tax invoice, or tax credit note when the total is negative.
struct TaxInvoice {
  struct Line {
    int line = 0;      // its row in the invoice, 1 to 40
    int product = 0;   // 0 for none
    std::string code;  // the entity's first three letters and the product code, "SMI00003"
    std::string particulars;
    double quantity = 0;  // to two decimals
    Currency unitPrice;
    std::string gst;  // "y", "n" or blank
    Currency amount;
  };

  int invoice = 0;
  Addressee customer;  // "Cash Sale" without a customer
  std::optional<Date> date;
  std::optional<Date> due;
  std::vector<Line> lines;  // the lines that hold anything, in line order
  Currency total;
  Currency gst;
  Currency paid;
  Currency discount;
  Currency writtenOff;
  Currency balance;

  bool creditNote() const { return total < Currency(); }
  // "Tax Invoice" or "Tax Credit Note".
  const char* title() const;
  // The deductions line: "Less Amount paid including $5.00 discount and
  // $2.00 written off"; empty when nothing was paid, discounted or
  // written off.
  std::string deductions() const;
  Currency deducted() const { return paid + discount + writtenOff; }
};

// A document's amount: "$" and its size to the cent, then " Dr." or " Cr.".
std::string drCrText(Currency amount, bool debit);

// Nothing when the invoice is not in use.
std::optional<TaxInvoice> taxInvoiceOf(const InvoiceBook& book, int invoice,
                                       std::string_view entityName, const Clock& clock);

enum class InvoiceListKind { All, Unpaid, Overdue };

struct InvoiceAmounts {
  Currency total;
  Currency paid;
  Currency discount;
  Currency writtenOff;
  Currency balance;
};

struct InvoiceListEntry {
  int invoice = 0;
  std::string client;  // "Cash Sale" without a customer
  std::optional<Date> date;
  std::optional<Date> due;
  std::optional<Date> paidDate;
  InvoiceAmounts amounts;
};

// The invoices a list takes as at its date, in file order, with their totals.
struct InvoiceList {
  InvoiceListKind kind = InvoiceListKind::All;
  std::vector<InvoiceListEntry> entries;
  InvoiceAmounts totals;
};

InvoiceList invoiceListOf(const InvoiceBook& book, InvoiceListKind kind, Date asAt,
                          const Clock& clock);

struct StatementEntry {
  int invoice = 0;
  std::optional<Date> date;
  Currency charge;
  Currency paid;
  Currency credits;  // discount and written off
  Currency balance;
};

struct StatementTotals {
  Currency charge;
  Currency paid;
  Currency credits;
  Currency balance;
};

// One customer's invoices unpaid as at the report date.
struct Statement {
  Addressee customer;
  std::vector<StatementEntry> entries;
  StatementTotals totals;
};

// The customers a statement run goes through, first to last.
struct CustomerRange {
  int first = 1;
  int last = 0;
};

// The statements of the customers of the range that have invoices unpaid
// as at the date, in customer order; the invoices of each in file order.
std::vector<Statement> statementsOf(const InvoiceBook& book, CustomerRange range, Date asAt,
                                    const Clock& clock);

// A number as the invoice lists write it: 0007.
std::string documentNumber(int number);
// A date as the documents print it: "dd/mm/yy", or blank.
std::string printedDate(const std::optional<Date>& date);

}  // namespace lum
