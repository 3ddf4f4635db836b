#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

namespace lum {

class FileOps;

// Prints every record of a data file as one JSON object a line. The layout
// is chosen from the file's name unless layoutName names one. Returns the
// exit status: a file of no known layout, a partial last record or a
// record that cannot be read is told on err and gives kExitRefused, after
// every readable record has been printed.
int dumpFile(FileOps& ops, const std::filesystem::path& file, const std::string& layoutName,
             std::ostream& out, std::ostream& err);

}  // namespace lum
