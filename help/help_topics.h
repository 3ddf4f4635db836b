#pragma once

#include <span>
#include <string_view>

namespace lum {

enum class HelpProgram { LumPost, LumUtils };

// A window and the manual's section about it, by the section's anchor.
struct HelpTopic {
  HelpProgram program;
  int window;  // LumPost: the window table's index; LumUtils: its window code
  std::string_view anchor;
};

// Every window that has a section of its own.
std::span<const HelpTopic> helpTopics();

// The anchor F1 opens in a window: its section, or the contents for a
// window the manual has no section for.
std::string_view helpSection(HelpProgram program, int window);

}  // namespace lum
