#pragma once

// Record layouts of the invoicing files: invoice headers (Inv-EEEE.dat),
// invoice lines (InD-EEEE.dat), customers (Cus-EEEE.dat) and products
// (Prd-EEEE.dat). Every record ends with an in-use marker: kInUse means the
// record holds data, anything else (a never-written record reads 0) that it
// is free and reads as empty.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/currency.h"
#include "platform/fields.h"
#include "post/login/file_registry.h"

namespace lum {

inline constexpr std::int16_t kInUse = 99;
// Lines 1 to 40 of an invoice; element 0 of the detail numbers is unused.
inline constexpr int kInvoiceLines = 40;
// Product codes above this are refused.
inline constexpr int kMaxProductCode = 30000;
// Invoice, detail and customer numbers are counted in 16-bit counters.
inline constexpr int kMaxRecordNumber = 32767;

// Inv-EEEE.dat, record n = invoice n.
struct InvoiceRecord {
  static constexpr std::size_t kSize = 238;

  // Element i (1 to 40): the InD record of line i, 0 for none.
  std::array<float, kInvoiceLines + 1> detailNumbers{};
  std::int16_t customer = 0;
  std::string date;  // "dd/mm/yy" or "dd/mm/yyyy" as typed
  std::string datePaid;
  std::string dateDue;
  Currency total;  // negative: a credit note
  Currency gst;    // the GST included in the total
  Currency amountPaid;
  Currency discount;
  Currency writtenOff;
  std::int16_t inUse = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.float32s("detail_numbers", r.detailNumbers);
    f.int16("customer", r.customer);
    f.text("date", r.date, 10);
    f.text("date_paid", r.datePaid, 10);
    f.text("date_due", r.dateDue, 10);
    f.currency("total", r.total);
    f.currency("gst", r.gst);
    f.currency("amount_paid", r.amountPaid);
    f.currency("discount", r.discount);
    f.currency("written_off", r.writtenOff);
    f.int16("in_use", r.inUse);
  }
  static InvoiceRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<InvoiceRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// InD-EEEE.dat, record n = detail number n: one line of an invoice.
struct InvoiceLineRecord {
  static constexpr std::size_t kSize = 97;

  std::int16_t productCode = 0;
  std::string particulars;
  float quantity = 0;
  Currency unitPrice;  // without GST
  std::string gst;     // "y" or "n"
  Currency amount;     // with GST
  std::int16_t inUse = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.int16("product_code", r.productCode);
    f.text("particulars", r.particulars, 72);
    f.float32("quantity", r.quantity);
    f.currency("unit_price", r.unitPrice);
    f.text("gst", r.gst, 1);
    f.currency("amount", r.amount);
    f.int16("in_use", r.inUse);
  }
  static InvoiceLineRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<InvoiceLineRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Cus-EEEE.dat, record n = customer n: the nine texts of the invoice
// window's customer boxes 1 to 9.
struct CustomerRecord {
  static constexpr std::size_t kSize = 289;
  static constexpr std::size_t kFields = 9;
  static constexpr std::array<std::size_t, kFields> kWidths = {48, 48, 48, 48, 32, 3, 4, 32, 24};

  // Name, second name line, two address lines, town, state, postcode,
  // telephone, contact.
  std::array<std::string, kFields> texts{};
  std::int16_t inUse = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("name", r.texts[0], kWidths[0]);
    f.text("second_name", r.texts[1], kWidths[1]);
    f.text("address_1", r.texts[2], kWidths[2]);
    f.text("address_2", r.texts[3], kWidths[3]);
    f.text("town", r.texts[4], kWidths[4]);
    f.text("state", r.texts[5], kWidths[5]);
    f.text("postcode", r.texts[6], kWidths[6]);
    f.text("telephone", r.texts[7], kWidths[7]);
    f.text("contact", r.texts[8], kWidths[8]);
    f.int16("in_use", r.inUse);
  }
  static CustomerRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<CustomerRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Prd-EEEE.dat, record n = product code n.
struct ProductRecord {
  static constexpr std::size_t kSize = 83;

  std::string description;
  Currency unitPrice;  // without GST
  std::string gst;     // "y" or "n"
  std::int16_t inUse = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("description", r.description, 72);
    f.currency("unit_price", r.unitPrice);
    f.text("gst", r.gst, 1);
    f.int16("in_use", r.inUse);
  }
  static ProductRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<ProductRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

static_assert(fieldsSize<InvoiceRecord>() == InvoiceRecord::kSize);
static_assert(fieldsSize<InvoiceLineRecord>() == InvoiceLineRecord::kSize);
static_assert(fieldsSize<CustomerRecord>() == CustomerRecord::kSize);
static_assert(fieldsSize<ProductRecord>() == ProductRecord::kSize);
static_assert(registeredRecordLength("Invoice") == InvoiceRecord::kSize);
static_assert(registeredRecordLength("InvDetails") == InvoiceLineRecord::kSize);
static_assert(registeredRecordLength("Customers") == CustomerRecord::kSize);
static_assert(registeredRecordLength("Products") == ProductRecord::kSize);

}  // namespace lum
