#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "tools/lumctl/lumctl.h"

namespace lum {

struct RenderOptions {
  std::string commands;  // default: the work area's DosyaYaz.dat
  std::string texts;     // default: the work area's Kelamlar.dat
  std::string pages;     // "A-B", "A", or empty for every page
  std::string format;    // "pdf" or "text"
  std::string out;       // the file written; "-" for the standard output (text only)
};

// Replays the stored pages of a report on the PDF or text device, as the
// viewer prints them. Returns the exit status.
int renderPages(const GlobalOptions& global, const RenderOptions& options, std::ostream& out,
                std::ostream& err);

}  // namespace lum
