#include "post/login/window_hooks.h"

#include "post/login/window_dispatch.h"

namespace lum {

void WindowHooks::closeWindow() {
  lum::closeWindow(mSession);
}

void WindowHooks::functionKey(PanelKey key) {
  lum::functionKey(mSession, key);
}

}  // namespace lum
