#pragma once

#include <iosfwd>
#include <string>

#include "tools/lumctl/lumctl.h"

namespace lum {

struct ReportOptions {
  std::string report;  // gst, trial-balance, ledgers, profit-and-loss
  std::string period;  // the period letter; empty: the log-in's period
  int journal = 0;     // 0: the journals list's current journal
  bool allPeriods = false;
  std::string title;
  std::string format;       // pdf, text, plain or json; csv for a trail
  bool trail = false;       // the GST report's trail instead of its figures
  std::string trailFigure;  // the trail's figure (C1 to C7, G1 to G20); empty: all
  std::string out;
  bool keepGoing = false;  // give the figures of the rest when a journal is damaged
};

// Runs a report as the report windows do and writes it to a file: its
// pages as PDF, a text listing or plain pages, or its figures as JSON.
int runReport(const GlobalOptions& global, const ReportOptions& options, std::ostream& out,
              std::ostream& err);

}  // namespace lum
