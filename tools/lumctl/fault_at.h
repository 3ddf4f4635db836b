#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string_view>

#include "platform/file_ops.h"

namespace lum {

// LUM_FAULT_AT, read by lumctl's main only: "kill:N", "enospc:N" or
// "eio:N" makes lumctl's Nth file operation (counted as the tests count
// them, over every FileOps of the process) end the process as a kill does,
// or fail with a full disk or an I/O error. scripts/crash-matrix drives the
// writers of lumctl with it.
struct FaultAt {
  Failure failure;
  std::uint64_t operation;
};

// The fault a LUM_FAULT_AT value names; nothing for one that names none.
std::optional<FaultAt> parseFaultAt(std::string_view text);

// Arms the fault for the whole process; err hears each fault as it strikes
// ("lumctl: LUM_FAULT_AT: kill at file operation N: write PATH").
void armFaultAt(const FaultAt& fault, std::ostream& err);

// After the run: when the fault never struck, says how many file
// operations the run had ("lumctl: LUM_FAULT_AT: not reached, N file
// operations"), which tells the matrix the writer is through.
void tellFaultNotReached(const FaultAt& fault, std::ostream& err);

}  // namespace lum
