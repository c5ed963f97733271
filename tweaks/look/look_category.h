// The Look category: its list `ListView3` and its pages.
#pragma once

namespace tf {

class CategoryHost;

// Creates `ListView3`, the pages `GroupBox3` and `GroupBox5` and their
// "Actions" menu items in `host`.
void installLookCategory(CategoryHost &host);

} // namespace tf
