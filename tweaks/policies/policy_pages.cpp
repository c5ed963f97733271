#include "tweaks/policies/policy_pages.h"

#include <QLabel>
#include <QPushButton>

namespace tf::policies {

namespace {

using enum PolicyKey;

// "NoDrives" with bits 0 to 25 set hides every drive letter, A to Z.
constexpr std::int32_t AllDrives = 67108863;

// The last row writes to the System key: registry editing is a System
// policy, though it is offered among the Explorer ones.
constexpr PolicyBinding ExplorerTable[] = {
    {"CheckBox23", "Disable deletion of Printers", Explorer, "NoDeletePrinter"},
    {"CheckBox24", "Diasble Additions of Printers", Explorer, "NoAddPrinter"},
    {"CheckBox25", "Disable the Run Command", Explorer, "NoRun"},
    {"CheckBox26", "Remove Folders from Settings on Start Menu ", Explorer,
     "NoSetFolders"},
    {"CheckBox27", "Remove Taskbar from Settings on Start Menu ", Explorer,
     "NoSetTaskbar"},
    {"CheckBox28", "Remove the Find Command ", Explorer, "NoFind"},
    {"CheckBox29", "Hide the Drives in My Computer", Explorer, "NoDrives",
     AllDrives},
    {"CheckBox30", "Hide the Network Neighborhood", Explorer, "NoNetHood"},
    {"CheckBox31", "Hide all items on the Desktop", Explorer, "NoDesktop"},
    {"CheckBox32", "Disable Shutdown", Explorer, "NoClose"},
    {"CheckBox34", "Disable Registry Editing Tools", System,
     "DisableRegistryTools"},
};

constexpr PolicyBinding SystemTable[] = {
    {"CheckBox33", "Disable Display Control Panel ", System, "NoDispCPL"},
    {"CheckBox35", "Hide Background Page", System, "NoDispBackgroundPage"},
    {"CheckBox36", "Hide Screen Saver Page", System, "NoDispScrSavPage"},
    {"CheckBox37", "Hide Appearance Page", System, "NoDispAppearancePage"},
    {"CheckBox38", "Hide Settings Page", System, "NoDispSettingsPage"},
    {"CheckBox39", "Disable Password Control Panel", System, "NoSecCPL"},
    {"CheckBox40", "Hide Password Change Page", System, "NoPwdPage"},
    {"CheckBox41", "Hide Remote Administration Page", System, "NoAdminPage"},
    {"CheckBox42", "Hide User Profiles Page", System, "NoProfilePage"},
    {"CheckBox43", "Hide Device Manager Page", System, "NoDevMgrPage"},
    {"CheckBox44", "Hide Hardware Profiles Page", System, "NoConfigPage"},
    {"CheckBox45", "Hide File System Button", System, "NoFileSysPage"},
    {"CheckBox46", "Hide Virtual Memory Button", System, "NoVirtMemPage"},
};

// Windows 95 has no switch for a "Setup Security Page" other than the one
// that hides the Network control panel's Access Control page, so
// `CheckBox47` shares "NoNetSetupSecurityPage" with `CheckBox50`. It comes
// first: after loading both show the same state, and on "O&K" the state of
// `CheckBox50`, written later, decides the value.
constexpr PolicyBinding NetworkTable[] = {
    {"CheckBox47", "Disable the Setup Security Page", Network,
     "NoNetSetupSecurityPage"},
    {"CheckBox48", "Disable the Network Control Panel", Network, "NoNetSetup"},
    {"CheckBox49", "Hide Identification Page", Network, "NoNetSetupIDPage"},
    {"CheckBox50", "Hide Access Control Page", Network,
     "NoNetSetupSecurityPage"},
    {"CheckBox51", "Disable File Sharing Controls", Network,
     "NoFileSharingControl"},
    {"CheckBox52", "Disable Print Sharing Controls", Network, "NoPrintSharing"},
    {"CheckBox53", "Disable MS-DOS Prompt", MsDos, "Disabled"},
    {"CheckBox54", "Disables Single-Mode MS-DOS", MsDos, "NoRealMode"},
    {"CheckBox55", "Removes Recent Document from Start Menu", Explorer,
     "NoRecentDocsHistory"},
    {"CheckBox56", "Clears the Recent Documents when you Exit", Explorer,
     "ClearRecentDocsOnExit"},
    {"CheckBox57", "Removes the Internet Icon from the Desktop", Explorer,
     "NoInternetIcon"},
};

// The row of "Removes Recent Document from Start Menu": the note that the
// next two need Internet Explorer 4 goes below it.
constexpr int RecentDocumentsRow = 8;

constexpr PolicyPageText ExplorerText = {
    "GroupBox33",
    "Explorer Policies",
    "Label73",
    "Here you can set the restriction for Explorer. Just check/uncheck the "
    "thing you want to enable and/or disable and click the OK button.",
    "OfficeButton57",
    "OfficeButton58"};

constexpr PolicyPageText SystemText = {
    "GroupBox34",
    "System Policies",
    "Label74",
    "Here you can set the restriction for System settings. Just check/uncheck "
    "the thing you want to enable and/or disable and click the OK button.",
    "OfficeButton59",
    "OfficeButton60"};

constexpr PolicyPageText NetworkText = {
    "GroupBox35",
    "Network and MS-DOS Policies",
    "Label75",
    "Here you can set the restriction for the Network settings. Just "
    "check/uncheck the thing you want to enable and/or disable and click the "
    "OK button.",
    "OfficeButton61",
    "OfficeButton62"};

} // namespace

std::span<const PolicyBinding> explorerBindings() { return ExplorerTable; }
std::span<const PolicyBinding> systemBindings() { return SystemTable; }
std::span<const PolicyBinding> networkBindings() { return NetworkTable; }

ExplorerPolicies::ExplorerPolicies(PageHost &host, QWidget *parent)
    : PolicyPage(host, ExplorerText, ExplorerTable, parent) {
  connect(okButton(), &QPushButton::clicked, this,
          &ExplorerPolicies::OfficeButton57Click);
}

void ExplorerPolicies::OfficeButton57Click() { writeBindings(); }

SystemPolicies::SystemPolicies(PageHost &host, QWidget *parent)
    : PolicyPage(host, SystemText, SystemTable, parent) {
  connect(okButton(), &QPushButton::clicked, this,
          &SystemPolicies::OfficeButton59Click);
}

void SystemPolicies::OfficeButton59Click() { writeBindings(); }

NetworkPolicies::NetworkPolicies(PageHost &host, QWidget *parent)
    : PolicyPage(host, NetworkText, NetworkTable, parent) {
  auto *note = new QLabel("(Requires IE4)", this);
  note->setObjectName("Label76");
  insertBelowRow(RecentDocumentsRow, note);
  connect(okButton(), &QPushButton::clicked, this,
          &NetworkPolicies::OfficeButton61Click);
}

void NetworkPolicies::OfficeButton61Click() { writeBindings(); }

} // namespace tf::policies
