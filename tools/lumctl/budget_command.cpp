// lumctl budget: the budget window and ReCalculate Actuals.

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "panel/money.h"
#include "post/journals/budget.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/record_json.h"
#include "tools/lumctl/settled_reading.h"

namespace lum {
namespace {

using Json = nlohmann::ordered_json;

// The four figures of each month, and their sums over the year.
Json budgetJson(const BudgetRecord& budget) {
  Json months = Json::array();
  Currency total[4];
  for (std::size_t month = 1; month <= kBudgetMonths.size(); ++month) {
    const Currency figures[4] = {budget.budgetedSales[month], budget.budgetedCostOfSales[month],
                                 budget.actualSales[month], budget.actualCostOfSales[month]};
    Json line;
    line["month"] = kBudgetMonths[month - 1];
    const char* names[4] = {"sales", "cost_of_sales", "actual_sales", "actual_cost_of_sales"};
    for (std::size_t i = 0; i < 4; ++i) {
      line[names[i]] = currencyText(figures[i]);
      total[i] += figures[i];
    }
    months.push_back(line);
  }
  Json totals;
  totals["sales"] = currencyText(total[0]);
  totals["cost_of_sales"] = currencyText(total[1]);
  totals["actual_sales"] = currencyText(total[2]);
  totals["actual_cost_of_sales"] = currencyText(total[3]);
  Json json;
  json["months"] = months;
  json["total"] = totals;
  return json;
}

int showBudget(const GlobalOptions& global, std::ostream& out, std::ostream& err) {
  FileOps ops;
  return readSettled(ops, workAreaFolder(global), "", out, err, [&](Reading& reading) {
    StreamPrompter prompter(reading.err);
    HeadlessLogin login(global, prompter);
    if (!login.openToRead(reading.files)) {
      return int{kExitRefused};
    }
    reading.output = budgetJson(readBudget(login.session())).dump(2) + "\n";
    return int{kExitSuccess};
  });
}

// The 24 boxes of the budget window as the file fills them: the stored
// figures, replaced by those the file gives. Nothing, told on err, for a
// file not of the shape.
std::optional<std::vector<std::string>> boxesOf(const Json& json, const BudgetRecord& budget,
                                                std::ostream& err) {
  if (!json.is_object() || !json.contains("months") || !json["months"].is_array() ||
      json["months"].size() != kBudgetMonths.size()) {
    fmt::print(err, "lumctl: the budget needs \"months\": an array of 12 months, July first\n");
    return std::nullopt;
  }
  std::vector<std::string> boxes;
  for (std::size_t month = 1; month <= kBudgetMonths.size(); ++month) {
    const Json& line = json["months"][month - 1];
    if (!line.is_object()) {
      fmt::print(err, "lumctl: month {} of the budget is not an object\n", month);
      return std::nullopt;
    }
    for (const auto& [key, value] : line.items()) {
      if (key == "month") {
        if (!value.is_string() || value.get<std::string>() != kBudgetMonths[month - 1]) {
          fmt::print(err, "lumctl: month {} of the budget must be \"{}\", not {}\n", month,
                     kBudgetMonths[month - 1], value.dump());
          return std::nullopt;
        }
      } else if (key != "sales" && key != "cost_of_sales") {
        fmt::print(err,
                   "lumctl: \"{}\" of {} cannot be set: a month takes \"sales\" and "
                   "\"cost_of_sales\" (the actual figures come from budget recalculate)\n",
                   key, kBudgetMonths[month - 1]);
        return std::nullopt;
      }
    }
    for (const auto& [key, stored] :
         {std::pair{"sales", budget.budgetedSales[month]},
          std::pair{"cost_of_sales", budget.budgetedCostOfSales[month]}}) {
      if (!line.contains(key)) {
        boxes.push_back(formatMoney(stored));
      } else if (line[key].is_string()) {
        boxes.push_back(line[key].get<std::string>());
      } else {
        boxes.push_back(line[key].dump());
      }
    }
  }
  return boxes;
}

int setBudget(const GlobalOptions& global, const std::string& file, std::ostream&,
              std::ostream& err) {
  StreamPrompter prompter(err, false);
  HeadlessLogin login(global, prompter);
  if (!login.openToChange()) {
    fmt::print(err, "lumctl: {}\n", prompter.texts().empty() ? "" : prompter.texts().back());
    return kExitRefused;
  }
  Session& session = login.session();
  FileOps& ops = session.ops();
  if (!ops.exists(file)) {
    fmt::print(err, "lumctl: cannot read {}\n", file);
    return kExitRefused;
  }
  const auto bytes = ops.readFile(file);
  const Json json = Json::parse(
      std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), nullptr, false);
  if (json.is_discarded()) {
    fmt::print(err, "lumctl: {} is not JSON\n", file);
    return kExitRefused;
  }
  const BudgetRecord stored = readBudget(session);
  const auto boxes = boxesOf(json, stored, err);
  if (!boxes) {
    return kExitRefused;
  }
  const auto budget = budgetWithBoxes(stored, *boxes, prompter);
  if (!budget) {
    fmt::print(err, "lumctl: {}\n", prompter.texts().back());
    return kExitRefused;
  }
  writeBudget(session, *budget);
  login.commitChange();
  return kExitSuccess;
}

int recalculateBudget(const GlobalOptions& global, std::ostream&, std::ostream& err) {
  StreamPrompter prompter(err, false);
  HeadlessLogin login(global, prompter);
  if (!login.openToChange() || !recalculateActuals(login.session())) {
    fmt::print(err, "lumctl: {}\n", prompter.texts().empty() ? "" : prompter.texts().back());
    return kExitRefused;
  }
  login.commitChange();
  return kExitSuccess;
}

}  // namespace

void addBudgetCommands(CLI::App& app, CommandContext& context) {
  auto file = std::make_shared<std::string>();
  CLI::App* budget =
      app.add_subcommand("budget", "Show or set the budget, or recalculate its actual figures");
  budget->require_subcommand(1);
  const auto guarded = [&context](const std::function<int()>& command) {
    try {
      context.status = command();
    } catch (const std::exception& error) {
      fmt::print(context.err, "lumctl: {}\n", error.what());
      context.status = kExitRefused;
    }
  };

  CLI::App* show = budget->add_subcommand(
      "show", "Print the budgeted and actual sales and cost of sales of each month as JSON");
  show->callback([&context, guarded] {
    guarded([&context] {
      return context.workAreaThere() ? showBudget(context.options, context.out, context.err)
                                     : int{kExitRefused};
    });
  });

  CLI::App* set = budget->add_subcommand(
      "set",
      "Store the budgeted sales and cost of sales of a JSON file of the shape budget show "
      "prints, as the budget window's Ok does");
  set->add_option("FILE", *file, "The budget as JSON")->required();
  set->callback([&context, guarded, file] {
    guarded([&context, file] {
      return context.workAreaToChange()
                 ? setBudget(context.options, *file, context.out, context.err)
                 : int{kExitRefused};
    });
  });

  CLI::App* recalculate = budget->add_subcommand(
      "recalculate",
      "Rebuild the actual sales and cost of sales of every month from the journals' column "
      "totals, as ReCalculate Actuals does");
  recalculate->callback([&context, guarded] {
    guarded([&context] {
      return context.workAreaToChange()
                 ? recalculateBudget(context.options, context.out, context.err)
                 : int{kExitRefused};
    });
  });
}

}  // namespace lum
