#include "tools/lumctl/new_entity_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <cstdlib>
#include <ostream>

#include "platform/errors.h"
#include "platform/text.h"
#include "post/login/entity_setup.h"
#include "post/login/list_windows.h"
#include "post/login/work_area.h"
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
    if (!login.open()) {
      return kExitRefused;
    }
    const int entity = addEntity(session, options.name);
    EntityTexts texts;
    texts[0] = options.name;
    texts[1] = options.secondLine;
    storeEntityDetails(session, entity, texts, options.choices);
    fmt::print(out, "{}\n", entity);
    return kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

}  // namespace lum
