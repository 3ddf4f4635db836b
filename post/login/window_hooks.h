#pragma once

#include <string>
#include <vector>

#include "panel/input_panel.h"
#include "post/login/session.h"

namespace lum {

// The panel hooks of a window of the window table: Esc closes it, function
// keys go to their actions, and every other hook does nothing until the
// window's own hooks say otherwise.
class WindowHooks : public PanelHooks {
 public:
  explicit WindowHooks(Session& session) : mSession(session) {}

  std::vector<std::string> fillListLine(int) override { return {}; }
  void fillDetail(std::vector<std::string>&) override {}
  std::string detailLabel(int) const override { return {}; }
  void storeListLine(int, const std::vector<std::string>&) override {}
  void addListLine(const std::vector<std::string>&) override {}
  bool checkLine(int) override { return true; }
  void closeWindow() override;
  void functionKey(PanelKey key) override;

 protected:
  Session& mSession;
};

}  // namespace lum
