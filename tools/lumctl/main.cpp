#include <iostream>
#include <string>
#include <vector>

#include "tools/lumctl/lumctl.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return lum::runLumctl(args, std::cout, std::cerr);
}
