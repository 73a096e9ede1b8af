#include <iostream>
#include <string>
#include <vector>

#include "frontend/run.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv, argv + argc);
  if (arguments.empty())
    arguments.emplace_back("qmxexport");
  return runProgram(arguments, std::cout, std::cerr);
}
