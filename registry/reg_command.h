// tweakforge-reg: query and change a prefix's registry from the shell, with
// the arguments and the output of Wine's `reg` command.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace reg {

// Runs the command `args` (the arguments after the program name) on
// Machine::current(), printing results to `out` and one line per failure to
// `err`. Returns the exit code: 0 done, 1 key or value not found or the write
// refused, 2 bad arguments.
int runRegCommand(const std::vector<std::string> &args, std::ostream &out,
                  std::ostream &err);

// The usage text that `--help` prints.
std::string regCommandUsage();

} // namespace reg
