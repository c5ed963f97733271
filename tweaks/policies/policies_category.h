// The Policies category: its list `ListView11` and the pages it opens.
#pragma once

class QWidget;

namespace tf {
class CategoryList;
class ImageList;
class PageHost;
} // namespace tf

namespace tf::policies {

class ExplorerPolicies;
class SystemPolicies;
class NetworkPolicies;

class PoliciesCategory {
public:
  // `ListView11` goes into `listParent`, the pages into `pageParent`. The
  // list shows each item's hint on click and opens its page on double-click.
  PoliciesCategory(PageHost &host, const ImageList &images, QWidget *listParent,
                   QWidget *pageParent);

  // Opens the page of the selected item; nothing when none is selected.
  void ListView11DblClick();

  CategoryList *ListView11;
  ExplorerPolicies *GroupBox33;
  SystemPolicies *GroupBox34;
  NetworkPolicies *GroupBox35;
};

} // namespace tf::policies
