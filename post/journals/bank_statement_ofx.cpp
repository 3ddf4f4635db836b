// Bank statements in OFX (and Quicken's QFX), read through libofx.

#include <fmt/core.h>
#include <libofx/libofx.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <fstream>
#include <iterator>

#include "platform/text.h"
#include "post/journals/bank_statement.h"

namespace lum {
namespace {

// Whether the file's last tag closes the OFX element, whatever the case:
// a download cut short stops before it.
bool endsWithClosingTag(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
    text.pop_back();
  }
  constexpr std::string_view kClosing = "</OFX>";
  return text.size() >= kClosing.size() &&
         equalsIgnoreCase(std::string_view(text).substr(text.size() - kClosing.size()), kClosing);
}

int takeTransaction(const OfxTransactionData data, void* user) {
  auto* read = static_cast<StatementRead*>(user);
  StatementLine line;
  line.line = static_cast<int>(read->lines.size()) + 1;
  if (data.date_posted_valid == 0 || data.amount_valid == 0) {
    read->problem = fmt::format("transaction {} has no date or no amount", line.line);
    return 0;
  }
  std::tm local{};
  const std::time_t posted = data.date_posted;
  localtime_r(&posted, &local);
  const auto date = Date::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const auto amount = Currency::fromDouble(data.amount);
  if (!date || !amount) {
    read->problem = fmt::format("transaction {} has a date or an amount out of range", line.line);
    return 0;
  }
  line.date = *date;
  line.amount = amount->roundedToCents();
  line.description = std::string(trim(data.name_valid != 0   ? data.name
                                      : data.memo_valid != 0 ? data.memo
                                                             : ""));
  if (data.check_number_valid != 0) {
    line.reference = std::string(trim(data.check_number));
  }
  read->lines.push_back(std::move(line));
  return 0;
}

}  // namespace

StatementRead readOfxStatement(const std::filesystem::path& file) {
  StatementRead read;
  if (!endsWithClosingTag(file)) {
    read.problem = "the file is cut short: it does not end with </OFX>";
    return read;
  }
  // libofx tells every step on the console unless told not to.
  ofx_PARSER_msg = ofx_DEBUG_msg = ofx_DEBUG1_msg = ofx_DEBUG2_msg = ofx_DEBUG3_msg =
      ofx_DEBUG4_msg = ofx_DEBUG5_msg = ofx_STATUS_msg = ofx_INFO_msg = ofx_WARNING_msg =
          ofx_ERROR_msg = 0;
  LibofxContextPtr context = libofx_get_new_context();
  ofx_set_transaction_cb(context, takeTransaction, &read);
  const int status = libofx_proc_file(context, file.c_str(), OFX);
  libofx_free_context(context);
  // libofx also complains of parts a bank leaves out (the sign-on): what
  // counts is that the statement's transactions came, whole.
  if (status != 0 && read.problem.empty() && read.lines.empty()) {
    read.problem = "it cannot be read as OFX";
  }
  if (!read.problem.empty()) {
    read.lines.clear();
  } else if (read.lines.empty()) {
    read.problem = "it holds no transaction";
  }
  return read;
}

}  // namespace lum
