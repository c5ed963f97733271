// The Policies category: its list `ListView11` and the pages it opens.
#pragma once

namespace tf {
class CategoryHost;
}

namespace tf::policies {

// Creates `ListView11` and the pages `GroupBox33`, `GroupBox34` and
// `GroupBox35` in `host`. A click on an item shows its hint; a double-click
// opens its page. No "Actions" menu item opens these pages.
void installPoliciesCategory(CategoryHost &host);

} // namespace tf::policies
