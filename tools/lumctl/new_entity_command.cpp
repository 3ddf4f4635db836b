#include "tools/lumctl/new_entity_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <cstdlib>
#include <ostream>

#include "platform/errors.h"
#include "platform/text.h"
#include "post/login/entity_setup.h"
#include "post/login/list_panels.h"
#include "post/login/work_area.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"

namespace lum {

int newEntity(const GlobalOptions& global, const NewEntityOptions& options, std::ostream& out,
              std::ostream& err) {
  if (trim(options.name).empty()) {
    fmt::print(err, "lumctl: the entity needs a name\n");
    return kExitUsage;
  }
  StreamPrompter prompter(err);
  HeadlessLogin login(global, prompter);
  Session& session = login.session();

  try {
    if (!login.openToChange()) {
      return kExitRefused;
    }
    const int entity = addEntity(session, options.name);
    EntityTexts texts;
    texts[0] = options.name;
    texts[1] = options.secondLine;
    storeEntityDetails(session, entity, texts, options.choices);
    login.commitChange();
    fmt::print(out, "{}\n", entity);
    return kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

void addNewEntityCommand(CLI::App& app, CommandContext& context) {
  auto entity = std::make_shared<NewEntityOptions>();
  auto postingMode = std::make_shared<int>(0);
  CLI::App* command = app.add_subcommand(
      "new-entity",
      "Add an entity to the operator's work area, with its standard journals, as the entities "
      "list and the entity details window do; prints the new entity's number");
  command->add_option("--name", entity->name, "The entity's name")->required();
  command->add_option("--second-line", entity->secondLine, "The second line of its name");
  command
      ->add_option("--mode", *postingMode,
                   "Posting mode: 0 small cash business, 3 other businesses")
      ->check(CLI::IsMember({0, 3}));
  command->add_flag("--quarterly", entity->choices.quarterly,
                    "Quarterly GST periods (default monthly)");
  command->add_flag("--invoicing", entity->choices.invoicing, "Set up invoicing");
  command->add_flag("--accruals", entity->choices.accruals, "GST on accruals (default cash)");
  command->callback([&context, entity, postingMode] {
    entity->choices.otherBusiness = postingModeOf(*postingMode) == PostingMode::OtherBusiness;
    context.status = newEntity(context.options, *entity, context.out, context.err);
  });
}

}  // namespace lum
