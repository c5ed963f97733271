#include "tweaks/policies/policies_category.h"

#include "tweaks/common/category_list.h"
#include "tweaks/common/page.h"
#include "tweaks/policies/policy_pages.h"

namespace tf::policies {

namespace {

// Item 3, "Disable right click on Start button", joins the list together
// with its page.
constexpr CategoryItem Items[] = {
    {"Explorer", 23, "Change things like disabling the shutdown menu"},
    {"System", 25, "Change things like hiding the screensaver page"},
    {"Network and MS-DOS", 26, "Change things like disabling the MS-DOS Promt"},
};

} // namespace

PoliciesCategory::PoliciesCategory(PageHost &host, const ImageList &images,
                                   QWidget *listParent, QWidget *pageParent)
    : ListView11(new CategoryList("ListView11", Items, images, listParent)),
      GroupBox33(new ExplorerPolicies(host, pageParent)),
      GroupBox34(new SystemPolicies(host, pageParent)),
      GroupBox35(new NetworkPolicies(host, pageParent)) {
  ListView11->hide();
  ListView11->setHintHandler(
      [&host](const QString &hint) { host.setHint(hint); });
  ListView11->setDispatch([this](int) { ListView11DblClick(); });
}

void PoliciesCategory::ListView11DblClick() {
  Page *const pages[] = {GroupBox33, GroupBox34, GroupBox35};
  const int index = ListView11->selectedIndex();
  if (index >= 0 && index < int(std::size(pages)))
    pages[index]->open();
}

} // namespace tf::policies
