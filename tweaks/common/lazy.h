// Parts of the program that stay hidden at start-up (pages, dialogs) are
// built the first time they are used, so the main window shows sooner. Once
// built, a part lives for the rest of the run and keeps its controls' state.
#pragma once

#include "tweaks/common/category_host.h"

#include <functional>
#include <utility>

namespace tf {

// An object made by `make` on the first get(), then kept. `make` hands the
// object to an owner (a parent widget, the host); Lazy only points to it.
template <typename T> class Lazy {
public:
  explicit Lazy(std::function<T *()> make) : Make(std::move(make)) {}

  T &get() {
    if (!Made)
      Made = Make();
    return *Made;
  }
  T &operator*() { return get(); }
  T *operator->() { return &get(); }

private:
  std::function<T *()> Make;
  T *Made = nullptr;
};

// A page of `host` built by `make` when first needed and then put in the
// page place with CategoryHost::addPage.
template <typename MakePage>
Lazy<Page> lazyPage(CategoryHost &host, MakePage make) {
  return Lazy<Page>([&host, make = std::move(make)]() -> Page * {
    Page *page = make(host);
    host.addPage(page);
    return page;
  });
}

} // namespace tf
