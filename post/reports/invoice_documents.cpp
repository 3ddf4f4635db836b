#include "post/reports/invoice_documents.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "panel/dates.h"
#include "platform/text.h"
#include "post/invoicing/invoice_book.h"

namespace lum {
namespace {

// Texts joined by a separator, the blank ones left out.
std::string joined(std::initializer_list<std::string_view> parts, std::string_view separator) {
  std::string text;
  for (const std::string_view part : parts) {
    const std::string_view trimmed = trim(part);
    if (trimmed.empty()) {
      continue;
    }
    if (!text.empty()) {
      text += separator;
    }
    text += trimmed;
  }
  return text;
}

InvoiceAmounts amountsOf(const Invoice& invoice) {
  return {invoice.total, invoice.amountPaid, invoice.discount, invoice.writtenOff,
          invoice.balance()};
}

void add(InvoiceAmounts& totals, const InvoiceAmounts& amounts) {
  totals.total += amounts.total;
  totals.paid += amounts.paid;
  totals.discount += amounts.discount;
  totals.writtenOff += amounts.writtenOff;
  totals.balance += amounts.balance;
}

bool listed(const Invoice& invoice, InvoiceListKind kind, Date asAt, const Clock& clock) {
  const auto date = storedDate(invoice.date, clock);
  switch (kind) {
    case InvoiceListKind::All:
      // An invoice dated on the report date is not in this list.
      return comparedDate(date) < asAt;
    case InvoiceListKind::Unpaid:
      return unpaidAsAt(invoice, asAt, clock);
    case InvoiceListKind::Overdue: {
      // Without a due date an invoice is due on its own date.
      const auto due = storedDate(invoice.dateDue, clock);
      return unpaidAsAt(invoice, asAt, clock) && comparedDate(due ? due : date) <= asAt;
    }
  }
  return false;
}

}  // namespace

std::optional<Date> storedDate(std::string_view text, const Clock& clock) {
  return parseDate(trim(text), clock);
}

Date comparedDate(const std::optional<Date>& date) {
  return date ? *date : *Date::fromYmd(2000, 1, 1);
}

bool unpaidAsAt(const Invoice& invoice, Date asAt, const Clock& clock) {
  if (comparedDate(storedDate(invoice.date, clock)) > asAt) {
    return false;
  }
  // Paid after the report date, it was still owing on it.
  return comparedDate(storedDate(invoice.datePaid, clock)) > asAt || invoice.balance() > Currency();
}

Letterhead Letterhead::of(const EntityRecord& entity) {
  Letterhead head;
  head.name = std::string(trim(entity.name));
  head.secondLine = std::string(trim(entity.secondNameLine));
  head.address = std::string(trim(entity.addressLine1));
  if (!trim(entity.addressLine2).empty()) {
    head.address += fmt::format(", {}", trim(entity.addressLine2));
  }
  if (!trim(entity.postcode).empty()) {
    head.address += fmt::format(" {}", trim(entity.postcode));
  }
  const std::string telephone = joined({entity.telephoneAreaCode, entity.telephoneNumber}, " ");
  const std::string fax = joined({entity.faxAreaCode, entity.faxNumber}, " ");
  if (!telephone.empty()) {
    head.phones = fmt::format("Tel: {}", telephone);
  }
  if (!fax.empty()) {
    head.phones += fmt::format("{}Facsimile: {}", head.phones.empty() ? "" : " ", fax);
  }
  head.abn = std::string(trim(entity.abn));
  return head;
}

Addressee Addressee::of(int number, const std::array<std::string, Customer::kFields>& fields) {
  Addressee addressee;
  addressee.number = number;
  addressee.name = std::string(trim(fields[0]));
  for (std::size_t i = 1; i < 4; ++i) {
    if (!trim(fields[i]).empty()) {
      addressee.lines.emplace_back(trim(fields[i]));
    }
  }
  addressee.locality = joined({fields[4], fields[5], fields[6]}, " ");
  return addressee;
}

const char* TaxInvoice::title() const {
  return creditNote() ? "Tax Credit Note" : "Tax Invoice";
}

std::string TaxInvoice::deductions() const {
  if (paid.isZero() && discount.isZero() && writtenOff.isZero()) {
    return {};
  }
  std::string text = "Less";
  if (!paid.isZero()) {
    text += " Amount paid";
  }
  if (!discount.isZero()) {
    text += " including $" + decimalText(discount, 2) + " discount";
  }
  if (!writtenOff.isZero()) {
    text += " and $" + decimalText(writtenOff, 2) + " written off";
  }
  return text;
}

std::string drCrText(Currency amount, bool debit) {
  return fmt::format("${}{}", decimalText(amount.abs(), 2), debit ? " Dr." : " Cr.");
}

std::optional<TaxInvoice> taxInvoiceOf(const InvoiceBook& book, int number,
                                       std::string_view entityName, const Clock& clock) {
  const auto invoice = book.invoice(number);
  if (!invoice) {
    return std::nullopt;
  }
  TaxInvoice document;
  document.invoice = number;
  if (invoice->customer <= 0) {
    document.customer.name = kCashSale;
  } else if (const auto customer = book.customer(invoice->customer)) {
    document.customer = Addressee::of(customer->number, customer->fields);
  } else {
    document.customer.number = invoice->customer;
  }
  document.date = storedDate(invoice->date, clock);
  document.due = storedDate(invoice->dateDue, clock);
  const std::string prefix = toUpper(leftCharacters(trim(entityName), 3));
  for (const InvoiceLine& line : invoice->lines) {
    TaxInvoice::Line printed;
    printed.line = line.line;
    printed.product = line.productCode;
    if (line.productCode != 0) {
      printed.code = fmt::format("{}{:05}", prefix, line.productCode);
    }
    printed.particulars = line.particulars;
    printed.quantity = std::round(static_cast<double>(line.quantity) * 100) / 100;
    printed.unitPrice = line.unitPrice;
    printed.gst = line.gst;
    printed.amount = line.amount;
    document.lines.push_back(std::move(printed));
  }
  document.total = invoice->total;
  document.gst = invoice->gst;
  document.paid = invoice->amountPaid;
  document.discount = invoice->discount;
  document.writtenOff = invoice->writtenOff;
  document.balance = invoice->balance();
  return document;
}

InvoiceList invoiceListOf(const InvoiceBook& book, InvoiceListKind kind, Date asAt,
                          const Clock& clock) {
  InvoiceList list;
  list.kind = kind;
  // Customers' names by number, read once each.
  std::map<int, std::string> names;
  book.forEachInvoice(
      [&](const Invoice& invoice) {
        if (!listed(invoice, kind, asAt, clock)) {
          return;
        }
        auto name = names.find(invoice.customer);
        if (name == names.end()) {
          name = names.emplace(invoice.customer, book.customerName(invoice.customer)).first;
        }
        InvoiceListEntry entry{invoice.number,
                               name->second,
                               storedDate(invoice.date, clock),
                               storedDate(invoice.dateDue, clock),
                               storedDate(invoice.datePaid, clock),
                               amountsOf(invoice)};
        add(list.totals, entry.amounts);
        list.entries.push_back(std::move(entry));
      },
      InvoiceBook::Lines::Skip);
  return list;
}

std::vector<Statement> statementsOf(const InvoiceBook& book, CustomerRange range, Date asAt,
                                    const Clock& clock) {
  // One pass over the invoices, sorted out by customer.
  std::map<int, std::vector<StatementEntry>> owing;
  book.forEachInvoice(
      [&](const Invoice& invoice) {
        if (invoice.customer < range.first || invoice.customer > range.last ||
            !unpaidAsAt(invoice, asAt, clock)) {
          return;
        }
        owing[invoice.customer].push_back(StatementEntry{
            invoice.number, storedDate(invoice.date, clock), invoice.total, invoice.amountPaid,
            invoice.discount + invoice.writtenOff, invoice.balance()});
      },
      InvoiceBook::Lines::Skip);
  std::vector<Statement> statements;
  for (auto& [number, entries] : owing) {
    Statement statement;
    if (const auto customer = book.customer(number)) {
      statement.customer = Addressee::of(number, customer->fields);
    } else {
      statement.customer.number = number;
    }
    for (const StatementEntry& entry : entries) {
      statement.totals.charge += entry.charge;
      statement.totals.paid += entry.paid;
      statement.totals.credits += entry.credits;
      statement.totals.balance += entry.balance;
    }
    statement.entries = std::move(entries);
    statements.push_back(std::move(statement));
  }
  return statements;
}

std::string documentNumber(int number) {
  return fmt::format("{:04}", number);
}

std::string printedDate(const std::optional<Date>& date) {
  return date ? formatDate(*date) : std::string();
}

}  // namespace lum
