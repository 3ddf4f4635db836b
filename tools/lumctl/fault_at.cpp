#include "tools/lumctl/fault_at.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <charconv>
#include <ostream>

namespace lum {
namespace {

const char* nameOf(Failure failure) {
  switch (failure) {
    case Failure::Stop:
      return "kill";
    case Failure::NoSpace:
      return "enospc";
    case Failure::IoError:
      return "eio";
    case Failure::ShortWrite:
      break;
  }
  return "short-write";
}

}  // namespace

std::optional<FaultAt> parseFaultAt(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view kind = text.substr(0, colon);
  const std::string_view number = text.substr(colon + 1);
  std::optional<Failure> failure;
  for (const Failure known : {Failure::Stop, Failure::NoSpace, Failure::IoError}) {
    if (kind == nameOf(known)) {
      failure = known;
    }
  }
  std::uint64_t operation = 0;
  const auto [end, error] =
      std::from_chars(number.data(), number.data() + number.size(), operation);
  if (!failure || error != std::errc() || end != number.data() + number.size() || operation == 0) {
    return std::nullopt;
  }
  return FaultAt{*failure, operation};
}

void armFaultAt(const FaultAt& fault, std::ostream& err) {
  FileOps::injectProcessFault(
      fault.operation, fault.failure,
      [&err, name = nameOf(fault.failure)](std::uint64_t operation, const char* operationName,
                                           const std::filesystem::path& path) {
        fmt::print(err, "lumctl: LUM_FAULT_AT: {} at file operation {}: {} {}\n", name, operation,
                   operationName, path.string());
        err.flush();
      });
}

void tellFaultNotReached(const FaultAt& fault, std::ostream& err) {
  if (FileOps::processCount() < fault.operation) {
    fmt::print(err, "lumctl: LUM_FAULT_AT: not reached, {} file operations\n",
               FileOps::processCount());
  }
}

}  // namespace lum
