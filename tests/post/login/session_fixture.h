#pragma once

#include <filesystem>

#include "platform/scripted_prompter.h"
#include "post/login/file_registry.h"
#include "post/login/session.h"
#include "tests/post/login/fake_host.h"
#include "tests/support/test_support.h"

namespace lum::test {

// A program directory in a fresh folder and a session over it for group 1,
// on 20 August 2026, with a scripted prompter; its windows are the test's.
struct SessionParts {
  SessionParts() {
    std::filesystem::create_directories(prog());
    session.login.groupNumber = 1;
  }

  std::filesystem::path prog() const { return dir / "prog"; }
  std::filesystem::path area(int op = 1) const {
    return prog() / "Ent-1" / ("Op-" + std::to_string(op));
  }

  TempDir dir;
  FileOps ops;
  DosPath paths{ops, dir / "prog", dir / "floppy"};
  ScriptedPrompter prompter;
  FixedClock clock{DateTime{*Date::fromYmd(2026, 8, 20), 10, 0, 0}};
  FakeWaiter waiter{clock};
  Session session{ops, paths, prompter, clock, waiter};
};

// A file registry over a program directory in a fresh folder, with the
// naming of its files left to the test.
struct RegistryParts {
  TempDir dir;
  FileOps ops;
  DosPath paths{ops, dir / "prog", dir / "floppy"};
  ScriptedPrompter prompter;
  FileRegistry registry{ops, paths, prompter};
  FileNaming naming;
};

}  // namespace lum::test
