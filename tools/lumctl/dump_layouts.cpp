#include "tools/lumctl/dump_layouts.h"

#include <algorithm>
#include <regex>

#include "platform/text.h"
#include "post/invoicing/invoice_records.h"
#include "post/ledgers/ledger_records.h"
#include "post/login/file_registry.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/render/page_records.h"
#include "tools/lumctl/record_json.h"
#include "utils/utils_records.h"

namespace lum {
namespace {

template <class Record>
DumpLayout layout(std::string_view name, std::vector<std::string_view> logicalNames) {
  return DumpLayout{name, std::move(logicalNames), Record::kSize,
                    [](std::span<const std::byte> bytes, nlohmann::ordered_json& object) {
                      appendRecordJson(Record::decode(bytes), object);
                    }};
}

// The file name a registry pattern gives, as a regular expression: the
// number pieces become digits, the period letter a letter.
std::regex fileNameRegex(std::string_view pattern) {
  const std::size_t slash = pattern.rfind('\\');
  std::string_view name = slash == std::string_view::npos ? pattern : pattern.substr(slash + 1);
  std::string regex;
  while (!name.empty()) {
    if (name.front() == '{') {
      const std::size_t close = name.find('}');
      const std::string_view piece = name.substr(1, close - 1);
      regex += piece == "E" || piece == "O4" ? "[0-9]{4}"
               : piece == "J"                ? "[0-9]{2}"
               : piece == "P"                ? "[A-Za-z]"
                                             : "[0-9]+";
      name.remove_prefix(close + 1);
    } else {
      if (std::string_view(".[]()*+?^$|\\").find(name.front()) != std::string_view::npos) {
        regex += '\\';
      }
      regex += name.front();
      name.remove_prefix(1);
    }
  }
  return std::regex(regex, std::regex::icase);
}

}  // namespace

const std::vector<DumpLayout>& dumpLayouts() {
  static const std::vector<DumpLayout> layouts = {
      layout<CounterRecord>("counter", {"counters", "EntCoun", "UtCount"}),
      layout<EntityRecord>("entity", {"Ent"}),
      layout<SetupRecord>("setup", {"Ini"}),
      layout<GstDateRecord>("gst-date", {"GSTDate"}),
      layout<WindowPositionRecord>("window-position", {"ScrLoc"}),
      layout<FontNameRecord>("font-name", {"FontList"}),
      layout<ReportPrintSettings>("report-print-settings", {"RepPar"}),
      layout<OperatorRecord>("operator", {"Oper"}),
      layout<OperatorProfileRecord>("operator-profile", {"OperProf"}),
      layout<JournalHeaderRecord>("journal-header", {"Jnl"}),
      layout<AnalysisAccountRecord>("analysis-account", {"An"}),
      layout<AnalysisExtraRecord>("analysis-extra", {"Ax"}),
      layout<TransactionRecord>("transaction", {"GrdRecs"}),
      layout<AmountsRecord>("amounts", {"GrdAms"}),
      layout<ColumnTotalRecord>("column-total", {"GstPers"}),
      layout<BudgetRecord>("budget", {"Butce"}),
      layout<InvoiceRecord>("invoice", {"Invoice"}),
      layout<InvoiceLineRecord>("invoice-line", {"InvDetails"}),
      layout<CustomerRecord>("customer", {"Customers"}),
      layout<ProductRecord>("product", {"Products"}),
      layout<PageCommandRecord>("page-command", {"DosyaYaz"}),
      layout<PageTextRecord>("page-text", {"Kelam"}),
      layout<StoredEntityRecord>("stored-entity", {"EnList"}),
      layout<FolderRecord>("folder", {"ZipPath"}),
      layout<MailSettingsRecord>("mail-settings", {"MailDets"}),
      layout<LedgerClientRecord>("ledger-client", {"Mascnt"}),
      layout<LedgerAccountRecord>("ledger-account", {"Ltc"}),
      layout<LedgerEntryRecord>("ledger-entry", {"Led"}),
      layout<LedgerJournalRecord>("ledger-journal", {"Ljn"}),
      layout<LedgerCommentRecord>("ledger-comment", {"Lcm"}),
      layout<LedgerCountersRecord>("ledger-counters", {"Lct"}),
      layout<AccountNumberRecord>("account-number", {"RollAc", "Rol"}),
  };
  return layouts;
}

const DumpLayout* findDumpLayout(std::string_view name) {
  for (const auto& layout : dumpLayouts()) {
    if (equalsIgnoreCase(layout.name, name) ||
        std::any_of(layout.logicalNames.begin(), layout.logicalNames.end(),
                    [&](std::string_view logical) { return equalsIgnoreCase(logical, name); })) {
      return &layout;
    }
  }
  return nullptr;
}

const DumpLayout* dumpLayoutForFile(std::string_view fileName) {
  // The data manager's files, which are not in the main program's registry.
  static constexpr std::pair<std::string_view, std::string_view> kUtilsFiles[] = {
      {"EnList.Dat", "EnList"},
      {"UtCount.Dat", "UtCount"},
      {"ZipPath.Cfg", "ZipPath"},
      {"MailDets.dat", "MailDets"},
  };
  for (const auto& [file, logical] : kUtilsFiles) {
    if (equalsIgnoreCase(file, fileName)) {
      return findDumpLayout(logical);
    }
  }
  const std::string name(fileName);
  // The ledgers program's files, N being the ledgers client number.
  static const std::pair<std::regex, std::string_view> kLedgersFiles[] = {
      {std::regex("Mascnt\\.dat", std::regex::icase), "Mascnt"},
      {std::regex("Ltc-[0-9]+\\.dat", std::regex::icase), "Ltc"},
      {std::regex("Led-[0-9]+\\.dat", std::regex::icase), "Led"},
      {std::regex("Ljn-[0-9]+\\.dat", std::regex::icase), "Ljn"},
      {std::regex("Lcm-[0-9]+\\.dat", std::regex::icase), "Lcm"},
      {std::regex("Lct-[0-9]+\\.dat", std::regex::icase), "Lct"},
      {std::regex("(RollAc[PTC]|Rol-[0-9]+)\\.dat", std::regex::icase), "Rol"},
  };
  for (const auto& [file, logical] : kLedgersFiles) {
    if (std::regex_match(name, file)) {
      return findDumpLayout(logical);
    }
  }
  for (const auto& entry : registryEntries()) {
    if (std::regex_match(name, fileNameRegex(entry.pattern))) {
      if (const DumpLayout* layout = findDumpLayout(entry.logicalName)) {
        return layout;
      }
    }
  }
  return nullptr;
}

}  // namespace lum
