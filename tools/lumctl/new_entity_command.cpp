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
  FileOps ops;
  const DosPath paths(ops, global.root,
                      DosPath::floppyDirectoryFor(global.root, std::getenv("LUM_FLOPPY")));
  StreamPrompter prompter(err);
  SystemClock clock;
  SleepingWaiter waiter;
  NoWindows windows;
  Session session(ops, paths, prompter, clock, waiter);
  session.setHost(windows);
  session.login.operatorNumber = global.operatorNumber;
  session.login.groupNumber = global.groupNumber;
  session.login.systemDirectory = fmt::format("..\\System\\Ent-{}", global.groupNumber);

  try {
    if (!takeWorkArea(session, global.operatorNumber, AreaMode::StartUp)) {
      return kExitRefused;
    }
    const int entity = addEntity(session, options.name);
    EntityTexts texts;
    texts[0] = options.name;
    texts[1] = options.secondLine;
    storeEntityDetails(session, entity, texts, options.choices);
    session.registry().closeAll();
    session.lock().release();
    fmt::print(out, "{}\n", entity);
    return kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

}  // namespace lum
