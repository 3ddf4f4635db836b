// lumctl accounts transfer: the journal details window's "Transfer Account
// Names".

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <map>

#include "post/journals/account_transfer.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"

namespace lum {
namespace {

struct TransferOptions {
  int journal = 1;
  int from = 0;
  std::string templateName;
};

const std::map<std::string, AccountsTemplate> kTemplates = {
    {"bank", AccountsTemplate::Bank},
    {"petty", AccountsTemplate::PettyCash},
    {"takings", AccountsTemplate::Takings},
    {"payments", AccountsTemplate::Payments}};

int transferAccounts(const GlobalOptions& global, const TransferOptions& options, std::ostream&,
                     std::ostream& err) {
  StreamPrompter prompter(err, false);
  HeadlessLogin login(global, prompter);
  const auto told = [&] {
    fmt::print(err, "lumctl: {}\n", prompter.texts().empty() ? "" : prompter.texts().back());
    return kExitRefused;
  };
  if (!login.openToChange()) {
    return told();
  }
  std::optional<AccountsTemplate> choice;
  if (!options.templateName.empty()) {
    choice = kTemplates.at(options.templateName);
  }
  if (!transferAccountNames(login.session(), options.journal, options.from, choice)) {
    return told();
  }
  login.commitChange();
  return kExitSuccess;
}

}  // namespace

void addAccountsCommands(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<TransferOptions>();
  CLI::App* accounts = app.add_subcommand("accounts", "Give a journal its analysis accounts");
  accounts->require_subcommand(1);
  CLI::App* transfer = accounts->add_subcommand(
      "transfer",
      "Copy the analysis accounts of another journal (its An and Ax files) or of a template "
      "over those of a journal, as \"Transfer Account Names\" does");
  transfer
      ->add_option("--journal", options->journal,
                   "The journal that takes the accounts (its line in the journals list)")
      ->required();
  auto* from =
      transfer->add_option("--from", options->from, "The journal whose accounts are copied");
  auto* templ = transfer
                    ->add_option("--template", options->templateName,
                                 "The template copied: bank (Anljnl.dat), petty (Anlpch.dat), "
                                 "takings (Anstak.dat) or payments (Anspay.dat)")
                    ->check(CLI::IsMember({"bank", "petty", "takings", "payments"}));
  from->excludes(templ);
  transfer->callback([&context, options, from, templ] {
    if (from->count() + templ->count() != 1) {
      fmt::print(context.err, "lumctl: accounts transfer needs --from or --template\n");
      context.status = kExitUsage;
      return;
    }
    if (from->count() == 1 && options->from < 1) {
      fmt::print(context.err, "lumctl: --from needs a journal number from 1\n");
      context.status = kExitUsage;
      return;
    }
    try {
      context.status = context.workAreaToChange()
                           ? transferAccounts(context.options, *options, context.out, context.err)
                           : kExitRefused;
    } catch (const std::exception& error) {
      fmt::print(context.err, "lumctl: {}\n", error.what());
      context.status = kExitRefused;
    }
  });
}

}  // namespace lum
