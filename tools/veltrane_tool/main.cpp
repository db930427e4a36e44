#include <iostream>
#include <string>
#include <vector>

#include "tools/veltrane_tool/command_line.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv, argv + argc);
  return veltrane::tool::RunTool(args, std::cout, std::cerr);
}
