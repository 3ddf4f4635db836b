#include "post/login/login_files.h"

#include "platform/text.h"
#include "post/login/login_records.h"

namespace lum {
namespace {

// A set-up letter is the first letter typed, whatever follows it:
// "Quarterly" is "Q".
std::string letterValue(const SetupRecord& record) {
  const char letter = upperLetter(record.value);
  return letter == ' ' ? std::string() : std::string(1, letter);
}

int counterValue(RecordFile& counters, EntityCounter counter) {
  return counters.get<CounterRecord>(static_cast<int>(counter)).value;
}

}  // namespace

std::string reportOptionOf(const std::optional<std::vector<std::string>>& lumIni) {
  if (!lumIni || lumIni->empty()) {
    return {};
  }
  const std::string& line = lumIni->front();
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) {
    return {};
  }
  return toUpper(trim(std::string_view(line).substr(equals + 1)));
}

SetupValues readSetupValues(RecordFile& ini) {
  const auto value = [&](int record) { return ini.get<SetupRecord>(record); };
  SetupValues setup;
  setup.postingMode = postingModeOf(static_cast<int>(leadingNumber(trimLeft(value(1).value))));
  setup.periodKind = letterValue(value(2));
  setup.clientType = letterValue(value(3));
  setup.gstRate = leadingNumber(value(4).value);
  setup.paygRate = leadingNumber(value(5).value);
  setup.exemptSalesRatio = leadingNumber(value(6).value);
  setup.exemptPurchaseRatio = leadingNumber(value(7).value);
  setup.invoicing = letterValue(value(8));
  setup.gstType = letterValue(value(9));
  return setup;
}

void openLoginFileSet(FileRegistry& registry, const FileNaming& naming, LoginValues& login) {
  if (registry.exists("Lum.ini")) {
    login.reportOption = reportOptionOf(registry.readLines("lumini", naming));
  }

  login.setup = readSetupValues(*registry.open("Ini", naming));
  registry.close("Ini");

  for (const char* name : {"FontList", "counters", "Jnl", "ScrLoc", "Butce", "Log", "RepPar"}) {
    registry.open(name, naming);
  }
  RecordFile& counters = registry.file("counters");
  login.invoiceCount = counterValue(counters, EntityCounter::Invoices);
  login.productCount = counterValue(counters, EntityCounter::Products);
  login.customerCount = counterValue(counters, EntityCounter::Customers);
}

}  // namespace lum
