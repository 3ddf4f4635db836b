#include "tools/lumctl/invoice_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <nlohmann/json.hpp>
#include <ostream>
#include <set>

#include "panel/dates.h"
#include "panel/money.h"
#include "platform/text.h"
#include "post/invoicing/invoice_book.h"
#include "post/invoicing/invoice_editor.h"
#include "post/journals/journal_files.h"
#include "post/login/journal_records.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/record_json.h"
#include "tools/lumctl/settled_reading.h"

namespace lum {
namespace {

using Json = nlohmann::json;
using Editor = InvoiceEditor;

// A refusal of the invoice's JSON: told, and nothing is saved.
struct Refused {
  std::string text;
};

// A JSON value as it would be typed: a text as it stands, a number as written.
std::string typedText(const Json& value, const std::string& what) {
  if (value.is_string()) {
    return value.get<std::string>();
  }
  if (value.is_number_integer()) {
    return std::to_string(value.get<long long>());
  }
  if (value.is_number()) {
    return fmt::format("{}", value.get<double>());
  }
  throw Refused{fmt::format("{} must be a text or a number", what)};
}

void onlyKeys(const Json& object, std::initializer_list<const char*> keys,
              const std::string& what) {
  if (!object.is_object()) {
    throw Refused{what + " must be an object"};
  }
  const std::set<std::string> known(keys.begin(), keys.end());
  for (const auto& [key, value] : object.items()) {
    if (known.count(key) == 0) {
      throw Refused{fmt::format("{} has no key \"{}\"", what, key)};
    }
  }
}

// Types the invoice's JSON into the window's logic, as a person would.
class InvoiceTyping {
 public:
  InvoiceTyping(Editor& editor, const StreamPrompter& prompter)
      : mEditor(editor), mPrompter(prompter) {}

  void type(const Json& invoice) {
    onlyKeys(invoice,
             {"customer", "date", "due", "paid", "amount_paid", "written_off", "discount", "lines"},
             "the invoice");
    if (invoice.contains("customer")) {
      customer(invoice["customer"]);
    }
    date(invoice, "date", Editor::kDate);
    date(invoice, "due", Editor::kDateDue);
    if (invoice.contains("lines")) {
      const Json& lines = invoice["lines"];
      if (!lines.is_array() || lines.size() > static_cast<std::size_t>(kInvoiceLines)) {
        throw Refused{fmt::format("\"lines\" must be a list of at most {} lines", kInvoiceLines)};
      }
      for (std::size_t i = 0; i < lines.size(); ++i) {
        line(static_cast<int>(i) + 1, lines[i]);
      }
    }
    if (invoice.contains("paid")) {
      if (!invoice["paid"].is_boolean()) {
        throw Refused{"\"paid\" must be true or false"};
      }
      mEditor.setPaid(invoice["paid"].get<bool>());
    }
    amount(invoice, "amount_paid", Editor::kAmountPaid);
    amount(invoice, "written_off", Editor::kWrittenOff);
    amount(invoice, "discount", Editor::kDiscount);
  }

 private:
  void customer(const Json& customer) {
    onlyKeys(customer, {"number", "search", "fields"}, "\"customer\"");
    if (customer.contains("search")) {
      const std::string text = typedText(customer["search"], "\"search\"");
      if (!mEditor.searchCustomer(text, +1)) {
        throw Refused{mPrompter.texts().back()};
      }
    }
    if (customer.contains("number")) {
      const Json& number = customer["number"];
      if (!number.is_number_integer()) {
        throw Refused{"the customer's \"number\" must be a whole number"};
      }
      const long long n = number.get<long long>();
      const bool known =
          n >= 1 && n <= kMaxRecordNumber && mEditor.selectCustomer(static_cast<int>(n));
      if (n != 0 && !known) {
        throw Refused{fmt::format("there is no customer {} (0 makes a new one)", n)};
      }
      if (n == 0) {
        mEditor.selectCustomer(0);
      }
    }
    if (customer.contains("fields")) {
      const Json& fields = customer["fields"];
      if (!fields.is_array() || fields.size() != CustomerRecord::kFields) {
        throw Refused{"the customer's \"fields\" must be a list of nine texts"};
      }
      for (std::size_t f = 0; f < CustomerRecord::kFields; ++f) {
        mEditor.setBox(Editor::kFirstCustomerField + static_cast<int>(f),
                       typedText(fields[f], "a customer field"));
      }
    }
  }

  void date(const Json& invoice, const char* key, int box) {
    if (!invoice.contains(key)) {
      return;
    }
    const std::string text = typedText(invoice[key], fmt::format("\"{}\"", key));
    mEditor.setBox(box, text);
    if (!trim(text).empty() && mEditor.boxText(box).empty()) {
      throw Refused{fmt::format("\"{}\": \"{}\" is not a date", key, text)};
    }
  }

  void amount(const Json& invoice, const char* key, int box) {
    if (!invoice.contains(key)) {
      return;
    }
    const std::string text = typedText(invoice[key], fmt::format("\"{}\"", key));
    if (!trim(text).empty() && !parseMoney(text)) {
      throw Refused{fmt::format("\"{}\": \"{}\" is not an amount", key, text)};
    }
    mEditor.setBox(box, text);
  }

  void line(int row, const Json& line) {
    static constexpr std::pair<const char*, int> kCells[] = {
        {"code", Editor::kCode},     {"particulars", Editor::kParticulars},
        {"qty", Editor::kQty},       {"unit", Editor::kUnit},
        {"gst", Editor::kGstColumn}, {"amount", Editor::kAmount}};
    onlyKeys(line, {"code", "particulars", "qty", "unit", "gst", "amount"},
             fmt::format("line {}", row));
    for (const auto& [key, column] : kCells) {
      if (!line.contains(key)) {
        continue;
      }
      const std::string text = typedText(line[key], fmt::format("line {} \"{}\"", row, key));
      if ((column == Editor::kUnit || column == Editor::kAmount) && !trim(text).empty() &&
          !parseMoney(text)) {
        throw Refused{fmt::format("line {} \"{}\": \"{}\" is not an amount", row, key, text)};
      }
      const std::size_t said = mPrompter.texts().size();
      mEditor.enterCell(row, column);
      mEditor.editBoxChanged(text);
      mEditor.keyDown(JournalEditor::kEnter, false);
      if (mPrompter.texts().size() > said) {
        throw Refused{fmt::format("line {} \"{}\": {}", row, key, mPrompter.texts().back())};
      }
    }
  }

  Editor& mEditor;
  const StreamPrompter& mPrompter;
};

// The journal J of the session, checked against the journals count.
bool journalThere(Session& session, int journal, std::ostream& err) {
  const int journals =
      session.file("counters").get<CounterRecord>(static_cast<int>(EntityCounter::Journals)).value;
  if (journal < 1 || journal > journals) {
    fmt::print(err, "lumctl: the entity has no journal {} (it has {})\n", journal, journals);
    return false;
  }
  return true;
}

// A stored invoice date as JSON: "yyyy-mm-dd", "" when it is not a date.
std::string isoDate(const std::string& text, const Clock& clock) {
  const auto date = trim(text).empty() ? std::nullopt : parseDate(trim(text), clock);
  return date ? fmt::format("{:04}-{:02}-{:02}", date->year(), date->month(), date->day())
              : std::string();
}

}  // namespace

int saveInvoice(const GlobalOptions& global, const InvoiceOptions& options, std::ostream& out,
                std::ostream& err) {
  StreamPrompter prompter(err, false);
  try {
    FileOps files;
    if (!files.exists(options.file)) {
      fmt::print(err, "lumctl: cannot read {}\n", options.file);
      return kExitRefused;
    }
    const auto bytes = files.readFile(options.file);
    const Json invoice = Json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (invoice.is_discarded()) {
      fmt::print(err, "lumctl: {} is not JSON\n", options.file);
      return kExitRefused;
    }

    HeadlessLogin login(global, prompter);
    if (!login.openToChange()) {
      fmt::print(err, "lumctl: {}\n", prompter.texts().empty() ? "" : prompter.texts().back());
      return kExitRefused;
    }
    Session& session = login.session();
    if (!selectPeriod(session, options.period, err)) {
      return kExitUsage;
    }
    if (!journalThere(session, options.journal, err)) {
      return kExitRefused;
    }
    if (options.row < 1 || options.row > Journal::kMaxRows) {
      fmt::print(err, "lumctl: there is no row {} (rows are 1 to {})\n", options.row,
                 Journal::kMaxRows);
      return kExitRefused;
    }

    JournalFiles journalFiles(session, options.journal);
    Journal journal = journalFiles.load();
    EditorContext context;
    context.prompter = &prompter;
    context.clock = &session.clock();
    context.periodLetter = session.login.periodLetter;
    context.quarterly = session.login.setup.periodKind == "Q";
    JournalEditor journalEditor(journal, context);
    journalEditor.enterCell(options.row, 0);
    if (!journalEditor.mayStartInvoice()) {
      fmt::print(err, "lumctl: {}\n", prompter.texts().back());
      return kExitRefused;
    }

    InvoiceBook book(session);
    InvoiceContext invoiceContext;
    invoiceContext.prompter = &prompter;
    invoiceContext.clock = &session.clock();
    invoiceContext.ops = &session.ops();
    invoiceContext.rollbackFolder = session.rollbackFolder();
    invoiceContext.gstRate = session.login.setup.gstRate;
    invoiceContext.saveJournal = [&] { journalFiles.save(journal); };
    Editor editor(book, journal, journalEditor, invoiceContext);
    const std::size_t said = prompter.texts().size();
    if (!editor.open()) {
      fmt::print(err, "lumctl: {}\n", prompter.texts().back());
      return kExitRefused;
    }
    for (std::size_t i = said; i < prompter.texts().size(); ++i) {
      fmt::print(err, "lumctl: {}\n", prompter.texts()[i]);  // damage found on opening
    }

    try {
      InvoiceTyping(editor, prompter).type(invoice);
    } catch (const Refused& refused) {
      fmt::print(err, "lumctl: {}: {}\n", options.file, refused.text);
      return kExitRefused;
    }
    switch (editor.ok()) {
      case InvoiceSave::Saved:
        break;
      case InvoiceSave::ZeroTotal:
        fmt::print(err,
                   "lumctl: the invoice's total is 0: an invoice with a zero total is not saved\n");
        return kExitRefused;
      case InvoiceSave::NoNumber:
        fmt::print(err, "lumctl: the invoice has no number\n");
        return kExitRefused;
    }
    login.commitChange();
    fmt::print(out, "{}\n", editor.invoiceNumber());
    return kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

int showInvoice(const GlobalOptions& global, const InvoiceOptions& options, std::ostream& out,
                std::ostream& err) {
  FileOps ops;
  return readSettled(ops, workAreaFolder(global), "", out, err, [&](Reading& reading) {
    StreamPrompter prompter(reading.err);
    HeadlessLogin login(global, prompter);
    if (!login.openToRead(reading.files)) {
      return int{kExitRefused};
    }
    Session& session = login.session();
    InvoiceBook book(session);
    const auto invoice = book.invoice(options.number);
    if (!invoice) {
      fmt::print(reading.err, "lumctl: there is no invoice {}\n", options.number);
      return int{kExitRefused};
    }
    const auto customer = book.customer(invoice->customer);
    const Clock& clock = session.clock();
    nlohmann::ordered_json json;
    json["invoice"] = invoice->number;
    json["customer"] = invoice->customer;
    json["customer_fields"] = customer ? customer->fields : Customer{}.fields;
    json["date"] = isoDate(invoice->date, clock);
    json["due"] = isoDate(invoice->dateDue, clock);
    json["paid_date"] = isoDate(invoice->datePaid, clock);
    json["total"] = currencyText(invoice->total);
    json["gst"] = currencyText(invoice->gst);
    json["paid"] = currencyText(invoice->amountPaid);
    json["discount"] = currencyText(invoice->discount);
    json["written_off"] = currencyText(invoice->writtenOff);
    json["balance"] = currencyText(invoice->balance());
    json["lines"] = nlohmann::ordered_json::array();
    for (const InvoiceLine& line : invoice->lines) {
      nlohmann::ordered_json item;
      item["line"] = line.line;
      item["code"] = line.productCode;
      item["particulars"] = line.particulars;
      item["qty"] = line.quantity;
      item["unit"] = currencyText(line.unitPrice);
      item["gst"] = line.gst;
      item["amount"] = currencyText(line.amount);
      json["lines"].push_back(std::move(item));
    }
    for (const std::string& problem : book.problems()) {
      fmt::print(reading.err, "lumctl: {}\n", problem);
    }
    reading.output = json.dump() + "\n";
    return int{kExitSuccess};
  });
}

int clearInvoiceCommand(const GlobalOptions& global, const InvoiceOptions& options, std::ostream&,
                        std::ostream& err) {
  const std::string question =
      fmt::format("Do you want to clear Invoice number {}?", options.number);
  if (!options.yes) {
    fmt::print(err, "lumctl: {} (answer with --yes; nothing was changed)\n", question);
    return kExitRefused;
  }
  StreamPrompter prompter(err, false);
  try {
    HeadlessLogin login(global, prompter);
    if (!login.openToChange()) {
      fmt::print(err, "lumctl: {}\n", prompter.texts().empty() ? "" : prompter.texts().back());
      return kExitRefused;
    }
    Session& session = login.session();
    InvoiceBook book(session);
    if (!book.invoice(options.number)) {
      fmt::print(err, "lumctl: there is no invoice {}\n", options.number);
      return kExitRefused;
    }
    clearInvoice(book, options.number, session.ops(), session.rollbackFolder());
    login.commitChange();
    return kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

void addInvoiceCommands(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<InvoiceOptions>();
  CLI::App* invoice = app.add_subcommand("invoice", "Save, show or clear an invoice");
  invoice->require_subcommand(1);

  CLI::App* save = invoice->add_subcommand(
      "save",
      "Open the invoice of a journal row as the Invoice button does, type the JSON file's "
      "contents into it as at the invoice window, press Ok and save the journal; prints the "
      "invoice number");
  save->add_option("--journal", options->journal,
                   "The journal number (its line in the journals list)")
      ->required();
  save->add_option("--period", options->period, kPeriodHelp)->required();
  save->add_option("--row", options->row, "The journal row of the invoice")->required();
  save->add_option("FILE", options->file, "The invoice as JSON")->required();
  save->callback([&context, options] {
    context.status = context.workAreaToChange()
                         ? saveInvoice(context.options, *options, context.out, context.err)
                         : kExitRefused;
  });

  CLI::App* show = invoice->add_subcommand("show", "Print an invoice as JSON");
  show->add_option("N", options->number, "The invoice number")->required();
  show->callback([&context, options] {
    context.status = context.workAreaThere()
                         ? showInvoice(context.options, *options, context.out, context.err)
                         : kExitRefused;
  });

  CLI::App* clear = invoice->add_subcommand(
      "clear", "Clear an invoice and free its number, as Del Row does when told Yes");
  clear->add_option("N", options->number, "The invoice number")->required();
  clear->add_flag("--yes", options->yes, "Answer Yes to the question (without it nothing changes)");
  clear->callback([&context, options] {
    context.status = context.workAreaToChange()
                         ? clearInvoiceCommand(context.options, *options, context.out, context.err)
                         : kExitRefused;
  });
}

}  // namespace lum
