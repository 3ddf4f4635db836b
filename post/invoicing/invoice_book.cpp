#include "post/invoicing/invoice_book.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace lum {
namespace {

constexpr const char* kInvoices = "Invoice";
constexpr const char* kLines = "InvDetails";
constexpr const char* kCustomers = "Customers";
constexpr const char* kProducts = "Products";

bool inRange(int number) {
  return number >= 1 && number <= kMaxRecordNumber;
}

// The labels the entity set-up gives the invoicing counters.
const char* counterLabel(EntityCounter which) {
  switch (which) {
    case EntityCounter::Invoices:
      return "Invoices";
    case EntityCounter::InvoiceDetails:
      return "Invoice Details";
    case EntityCounter::Products:
      return "Products";
    case EntityCounter::Customers:
      return "Customers";
    default:
      return "";
  }
}

Customer customerOf(int number, const CustomerRecord& record) {
  Customer customer{number, {}};
  for (std::size_t i = 0; i < Customer::kFields; ++i) {
    customer.fields[i] = std::string(trim(record.texts[i]));
  }
  return customer;
}

Product productOf(int code, const ProductRecord& record) {
  return Product{code, std::string(trim(record.description)), record.unitPrice,
                 std::string(trim(record.gst))};
}

}  // namespace

InvoiceBook::InvoiceBook(Session& session) : mSession(&session) {
  // A book opened while another has the files (a report printed from the
  // invoice window) reads through them and leaves them open.
  for (const char* name : {kInvoices, kLines, kCustomers, kProducts}) {
    if (!session.registry().isOpen(name)) {
      session.open(name);
      mOpened.push_back(name);
    }
  }
  checkLengths();
}

InvoiceBook::~InvoiceBook() {
  for (const char* name : mOpened) {
    try {
      mSession->registry().close(name);
    } catch (const std::exception&) {
      // Every write was made (and, under a transaction, flushed) before.
    }
  }
}

RecordFile& InvoiceBook::file(const char* logicalName) const {
  return mSession->file(logicalName);
}

std::int64_t InvoiceBook::records(const char* logicalName) const {
  return file(logicalName).recordCount();
}

void InvoiceBook::tell(std::string problem) const {
  if (std::find(mProblems.begin(), mProblems.end(), problem) == mProblems.end()) {
    mProblems.push_back(std::move(problem));
  }
}

std::vector<std::string> InvoiceBook::takeNewProblems() {
  std::vector<std::string> fresh(mProblems.begin() + static_cast<std::ptrdiff_t>(mTold),
                                 mProblems.end());
  mTold = mProblems.size();
  return fresh;
}

void InvoiceBook::checkLengths() {
  struct Check {
    const char* file;
    EntityCounter counter;
    const char* what;
  };
  static constexpr Check kChecks[] = {
      {kInvoices, EntityCounter::Invoices, "invoices"},
      {kLines, EntityCounter::InvoiceDetails, "invoice lines"},
      {kCustomers, EntityCounter::Customers, "customers"},
      {kProducts, EntityCounter::Products, "products"},
  };
  for (const Check& check : kChecks) {
    const std::int64_t held = records(check.file);
    const int counted = counter(check.counter);
    if (held < counted) {
      tell(fmt::format("{} holds {} {} but its counter says {}: the missing ones read as blank.",
                       file(check.file).path().filename().string(), held, check.what, counted));
    }
  }
}

int InvoiceBook::counter(EntityCounter which) const {
  const auto record = mSession->file("counters").get<CounterRecord>(static_cast<int>(which));
  return std::max<int>(record.value, 0);
}

void InvoiceBook::setCounter(EntityCounter which, int value) {
  RecordFile& counters = mSession->file("counters");
  auto record = counters.get<CounterRecord>(static_cast<int>(which));
  record.value = static_cast<std::int16_t>(std::clamp(value, 0, kMaxRecordNumber));
  if (trim(record.label).empty()) {
    record.label = counterLabel(which);
  }
  counters.put(static_cast<int>(which), record);
}

InvoiceRecord InvoiceBook::invoiceRecord(int number) const {
  return inRange(number) ? file(kInvoices).get<InvoiceRecord>(number) : InvoiceRecord{};
}

InvoiceLineRecord InvoiceBook::lineRecord(int detailNumber) const {
  return inRange(detailNumber) ? file(kLines).get<InvoiceLineRecord>(detailNumber)
                               : InvoiceLineRecord{};
}

CustomerRecord InvoiceBook::customerRecord(int number) const {
  return inRange(number) ? file(kCustomers).get<CustomerRecord>(number) : CustomerRecord{};
}

ProductRecord InvoiceBook::productRecord(int code) const {
  return code >= 1 && code <= kMaxProductCode ? file(kProducts).get<ProductRecord>(code)
                                              : ProductRecord{};
}

void InvoiceBook::putInvoice(int number, const InvoiceRecord& record) {
  if (!inRange(number)) {
    throw std::out_of_range(fmt::format("There is no invoice number {}", number));
  }
  file(kInvoices).put(number, record);
}

void InvoiceBook::putLine(int detailNumber, const InvoiceLineRecord& record) {
  if (!inRange(detailNumber)) {
    throw std::out_of_range(fmt::format("There is no invoice line number {}", detailNumber));
  }
  file(kLines).put(detailNumber, record);
}

void InvoiceBook::putCustomer(int number, const CustomerRecord& record) {
  if (!inRange(number)) {
    throw std::out_of_range(fmt::format("There is no customer number {}", number));
  }
  file(kCustomers).put(number, record);
}

void InvoiceBook::putProduct(int code, const ProductRecord& record) {
  if (code < 1 || code > kMaxProductCode) {
    throw std::out_of_range(fmt::format("There is no product code {}", code));
  }
  file(kProducts).put(code, record);
}

int InvoiceBook::detailNumberOf(int invoice, const InvoiceRecord& record, int line) const {
  const float stored = record.detailNumbers.at(static_cast<std::size_t>(line));
  if (stored == 0) {
    return 0;
  }
  const std::int64_t held = records(kLines);
  if (!std::isfinite(stored) || stored != std::floor(stored) || stored < 1 ||
      stored > static_cast<float>(std::min<std::int64_t>(held, kMaxRecordNumber))) {
    tell(
        fmt::format("Invoice {} line {} names line record {}, which {} has not: the line is "
                    "left out.",
                    invoice, line, stored, file(kLines).path().filename().string()));
    return 0;
  }
  return static_cast<int>(stored);
}

std::optional<Invoice> InvoiceBook::invoice(int number) const {
  return invoiceOf(number, Lines::Read);
}

std::optional<Invoice> InvoiceBook::invoiceOf(int number, Lines lines) const {
  const InvoiceRecord record = invoiceRecord(number);
  if (record.inUse != kInUse) {
    return std::nullopt;
  }
  Invoice invoice;
  invoice.number = number;
  invoice.customer = record.customer;
  invoice.date = std::string(trim(record.date));
  invoice.datePaid = std::string(trim(record.datePaid));
  invoice.dateDue = std::string(trim(record.dateDue));
  invoice.total = record.total;
  invoice.gst = record.gst;
  invoice.amountPaid = record.amountPaid;
  invoice.discount = record.discount;
  invoice.writtenOff = record.writtenOff;
  for (int line = 1; lines == Lines::Read && line <= kInvoiceLines; ++line) {
    const int detail = detailNumberOf(number, record, line);
    if (detail == 0) {
      continue;
    }
    const InvoiceLineRecord stored = lineRecord(detail);
    if (stored.inUse != kInUse) {
      continue;
    }
    float quantity = stored.quantity;
    if (!std::isfinite(quantity)) {
      tell(fmt::format("Invoice {} line {} has a quantity that is not a number: it is taken as 0.",
                       number, line));
      quantity = 0;
    }
    invoice.lines.push_back(InvoiceLine{
        line, detail, std::max<int>(stored.productCode, 0), std::string(trim(stored.particulars)),
        quantity, stored.unitPrice, std::string(trim(stored.gst)), stored.amount});
  }
  return invoice;
}

void InvoiceBook::forEachInvoice(const std::function<void(const Invoice&)>& visit,
                                 Lines lines) const {
  const std::int64_t last = std::min<std::int64_t>(
      std::max<std::int64_t>(records(kInvoices), counter(EntityCounter::Invoices)),
      kMaxRecordNumber);
  for (int number = 1; number <= last; ++number) {
    if (const auto found = invoiceOf(number, lines)) {
      visit(*found);
    }
  }
}

std::optional<Customer> InvoiceBook::customer(int number) const {
  const CustomerRecord record = customerRecord(number);
  if (record.inUse != kInUse) {
    return std::nullopt;
  }
  return customerOf(number, record);
}

std::vector<Customer> InvoiceBook::customers() const {
  std::vector<Customer> found;
  const auto last = std::min<std::int64_t>(records(kCustomers), kMaxRecordNumber);
  for (int number = 1; number <= last; ++number) {
    if (auto one = customer(number)) {
      found.push_back(std::move(*one));
    }
  }
  return found;
}

std::optional<Product> InvoiceBook::product(int code) const {
  const ProductRecord record = productRecord(code);
  if (record.inUse != kInUse) {
    return std::nullopt;
  }
  return productOf(code, record);
}

std::vector<Product> InvoiceBook::products() const {
  std::vector<Product> found;
  const auto last = std::min<std::int64_t>(records(kProducts), kMaxProductCode);
  for (int code = 1; code <= last; ++code) {
    if (auto one = product(code)) {
      found.push_back(std::move(*one));
    }
  }
  return found;
}

std::string InvoiceBook::customerName(int number) const {
  if (number <= 0) {
    return kCashSale;
  }
  const auto found = customer(number);
  return found ? found->name() : std::string();
}

}  // namespace lum
