#include "tweaks/policies/policies_category.h"

#include "tweaks/common/category_host.h"
#include "tweaks/common/category_list.h"
#include "tweaks/common/image_list.h"
#include "tweaks/policies/policy_pages.h"

#include <array>

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

} // namespace

void installPoliciesCategory(CategoryHost &host) {
  auto *ListView11 = new CategoryList(QStringLiteral("ListView11"), PolicyItems,
                                      host.images());
  ListView11->setAccessibleName(QStringLiteral("Policies tweaks"));
  ListView11->setItemAvailable(StartButtonItem, false);

  const std::array<Page *, 3> pages = {new ExplorerPolicies(host),
                                       new SystemPolicies(host),
                                       new NetworkPolicies(host)};
  for (Page *page : pages)
    host.addPage(page);

  // ListView11Click and ListView11DblClick.
  ListView11->setHintHandler(
      [&host](const QString &hint) { host.setHint(hint); });
  ListView11->setDispatch([pages](int index) {
    if (index >= 0 && index < int(pages.size()))
      pages[std::size_t(index)]->open();
  });
  host.addCategoryList(Category::Policies, ListView11);
}

} // namespace tf::policies
