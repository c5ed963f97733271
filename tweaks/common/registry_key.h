// The way every handler touches the registry: its own accessor, the root
// set, lazy-write off, one key opened with create, worked on and closed.
#pragma once

#include "registry/registry.h"

#include <string>
#include <type_traits>

namespace tf {

// Opens `path` under `root` with create, runs `work(registry)` and closes
// the key. Whatever `work` returns is returned. An error thrown by the
// registry goes on to the caller (the application's default error box).
template <typename Work>
auto withKey(reg::RootKey root, const std::string &path, Work work) {
  reg::TRegistry registry;
  registry.setRootKey(root);
  registry.setLazyWrite(false);
  registry.OpenKey(path, true);
  if constexpr (std::is_void_v<decltype(work(registry))>) {
    work(registry);
    registry.CloseKey();
  } else {
    auto result = work(registry);
    registry.CloseKey();
    return result;
  }
}

} // namespace tf
