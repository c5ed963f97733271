// tweakforge-reg: Wine's `reg query|add|delete` on a Tweakforge prefix.
#include "registry/reg_command.h"

#include <iostream>

int main(int argc, char **argv) {
  return reg::runRegCommand({argv + 1, argv + argc}, std::cout, std::cerr);
}
