// The three policy pages of the Policies category: `GroupBox33` (Explorer),
// `GroupBox34` (System) and `GroupBox35` (Network and MS-DOS).
#pragma once

#include "tweaks/policies/policy_page.h"

namespace tf::policies {

class ExplorerPolicies : public PolicyPage {
  Q_OBJECT
public:
  ExplorerPolicies(PageHost &host, QWidget *parent = nullptr);
  void OfficeButton57Click();
};

class SystemPolicies : public PolicyPage {
  Q_OBJECT
public:
  SystemPolicies(PageHost &host, QWidget *parent = nullptr);
  void OfficeButton59Click();
};

class NetworkPolicies : public PolicyPage {
  Q_OBJECT
public:
  NetworkPolicies(PageHost &host, QWidget *parent = nullptr);
  void OfficeButton61Click();
};

// The tables behind the pages, in the order they are loaded and written.
std::span<const PolicyBinding> explorerBindings();
std::span<const PolicyBinding> systemBindings();
std::span<const PolicyBinding> networkBindings();

} // namespace tf::policies
