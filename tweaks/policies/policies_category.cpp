#include "tweaks/policies/policies_category.h"

#include "tweaks/common/category_host.h"
#include "tweaks/common/category_list.h"
#include "tweaks/common/image_list.h"
#include "tweaks/common/lazy.h"
#include "tweaks/policies/policy_pages.h"

#include <array>
#include <memory>

namespace tf::policies {

namespace {

constexpr std::array<CategoryItem, 4> PolicyItems{{
    {"Explorer", ExplorerPoliciesPicture,
     "Change things like disabling the shutdown menu"},
    {"System", SystemPoliciesPicture,
     "Change things like hiding the screensaver page"},
    {"Network and MS-DOS", NetworkPoliciesPicture,
     "Change things like disabling the MS-DOS Promt"},
    {"Disable right click on Start button", StartButtonPicture,
     "Here you can disable the right click on the Start button"},
}};

// Position 3 opens the Start button page, which is not part of the program
// yet; its item stays out of the list until then.
constexpr int StartButtonItem = 3;

template <typename PolicyPageType> Lazy<Page> policyPage(CategoryHost &host) {
  return lazyPage(
      host, [](CategoryHost &owner) { return new PolicyPageType(owner); });
}

} // namespace

void installPoliciesCategory(CategoryHost &host) {
  auto *ListView11 = new CategoryList(QStringLiteral("ListView11"), PolicyItems,
                                      host.images());
  ListView11->setAccessibleName(QStringLiteral("Policies tweaks"));
  ListView11->setItemAvailable(StartButtonItem, false);

  // Each page is built when its item is first opened.
  auto pages = std::make_shared<std::array<Lazy<Page>, 3>>(std::array{
      policyPage<ExplorerPolicies>(host), policyPage<SystemPolicies>(host),
      policyPage<NetworkPolicies>(host)});
  host.addBuilder([pages] {
    for (Lazy<Page> &page : *pages)
      page.get();
  });

  // ListView11Click and ListView11DblClick.
  ListView11->setHintHandler(
      [&host](const QString &hint) { host.setHint(hint); });
  ListView11->setDispatch([pages](int index) {
    if (index >= 0 && index < int(pages->size()))
      (*pages)[std::size_t(index)]->open();
  });
  host.addCategoryList(Category::Policies, ListView11);
}

} // namespace tf::policies
