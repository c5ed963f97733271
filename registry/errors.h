// The one exception type the registry layer raises.
#pragma once

#include <stdexcept>
#include <string>

namespace reg {

// Every failure of the registry layer: a failed read or write, a hive that
// cannot be parsed ("system.reg:1234: ..."), a refused save. The text is
// complete and meant for the user as it stands.
class RegistryError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

} // namespace reg
