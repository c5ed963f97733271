#include "registry/errors.h"
#include "registry/machine.h"
#include "registry/value.h"
#include "tests/support/prefix_fixture.h"
#include "tweaks/common/category_host.h"
#include "tweaks/common/category_list.h"
#include "tweaks/common/image_list.h"
#include "tweaks/common/page.h"
#include "tweaks/policies/policies_category.h"
#include "tweaks/policies/policy_pages.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace tf::test {
namespace {

using policies::PolicyBinding;
using policies::PolicyKey;
using policies::policyKeyPath;

const QString RestartMessage =
    "You have to restart your computer to make the changes take effect";

// The main window's part: the hint line, hide-all-pages and the places of
// the category list and the pages.
class RecordingHost : public CategoryHost {
public:
  std::vector<QString> Hints;
  QWidget *PageArea = nullptr;
  CategoryList *List = nullptr;
  std::vector<Page *> AddedPages;
  std::vector<QString> Actions;
  std::vector<std::function<void()>> Builders;

  void setHint(const QString &hint) override { Hints.push_back(hint); }
  void hideAllPages() override {
    for (auto *page : PageArea->findChildren<Page *>())
      page->hide();
  }
  void terminate() override {}
  const ImageList &images() const override { return Images; }
  void addCategoryList(Category category, CategoryList *list) override {
    EXPECT_EQ(category, Category::Policies);
    List = list;
    list->setParent(PageArea);
    list->setGeometry(0, 0, 257, 400);
    list->show();
  }
  void addPage(Page *page) override {
    page->setParent(PageArea);
    page->hide();
    AddedPages.push_back(page);
  }
  void addBuilder(std::function<void()> build) override {
    Builders.push_back(std::move(build));
  }
  void setAction(const QString &handlerName, std::function<void()>) override {
    Actions.push_back(handlerName);
  }

private:
  ImageList Images;
};

reg::KeyPath keyPath(PolicyKey key) {
  reg::KeyPath path;
  for (const QString &part : QString(policyKeyPath(key)).split('\\'))
    path.push_back(part.toStdU16String());
  return path;
}

// A page with its table and its "O&K".
struct PageCase {
  const char *name;
  Page *page;
  std::span<const PolicyBinding> bindings;
  const char *ok;
};

class PolicyPages : public PrefixTest {
protected:
  PolicyPages() {
    Host.PageArea = &Window;
    Window.resize(600, 800);
    Window.show();
    Other = new Page(Host, "GroupBox1", "About Tweakforge", &Window);
    Other->show();
  }

  std::optional<std::int32_t> saved(PolicyKey key, const std::string &name) {
    return Prefix->savedInteger(reg::HKEY_CURRENT_USER, policyKeyPath(key),
                                name);
  }
  void setNumber(PolicyKey key, const std::string &name, std::int32_t data) {
    Prefix->writeInteger(reg::HKEY_CURRENT_USER, policyKeyPath(key), name,
                         data);
  }
  void setText(PolicyKey key, const std::string &name,
               const std::string &data) {
    Prefix->writeString(reg::HKEY_CURRENT_USER, policyKeyPath(key), name, data);
  }
  void setBinary(PolicyKey key, const std::u16string &name,
                 std::vector<std::uint8_t> data) {
    const auto machine = Prefix->machine();
    machine->createKey(reg::HiveId::CurrentUser, keyPath(key));
    machine->setValue(reg::HiveId::CurrentUser, keyPath(key), name,
                      reg::REG_BINARY, std::move(data));
    machine->flush();
  }
  bool keyExists(PolicyKey key) {
    return Prefix->savedKeyExists(reg::HKEY_CURRENT_USER, policyKeyPath(key));
  }

  QCheckBox *box(const char *name) {
    auto *found = Window.findChild<QCheckBox *>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  void pressOk(Page &page, const char *name) {
    QTest::mouseClick(page.findChild<QPushButton *>(name), Qt::LeftButton);
  }

  // The three pages, each with its table and its "O&K".
  std::array<PageCase, 3> pageCases() {
    return {{
        {"Explorer", &Explorer, policies::explorerBindings(), "OfficeButton57"},
        {"System", &System, policies::systemBindings(), "OfficeButton59"},
        {"Network", &Network, policies::networkBindings(), "OfficeButton61"},
    }};
  }

  RecordingHost Host;
  QWidget Window;
  Page *Other; // the page shown before
  policies::ExplorerPolicies Explorer{Host, &Window};
  policies::SystemPolicies System{Host, &Window};
  policies::NetworkPolicies Network{Host, &Window};
};

TEST_F(PolicyPages, NoPolicyKeysOpensExplorerUncheckedAndCreatesItsKeys) {
  const auto machine = Prefix->machine();
  machine->deleteKey(
      reg::HiveId::CurrentUser,
      {u"Software", u"Microsoft", u"Windows", u"CurrentVersion", u"Policies"});
  machine->flush();
  ASSERT_FALSE(keyExists(PolicyKey::Explorer));
  Explorer.open();
  EXPECT_TRUE(Explorer.isVisible());
  EXPECT_FALSE(Other->isVisible());
  for (auto *check : Explorer.findChildren<QCheckBox *>())
    EXPECT_FALSE(check->isChecked()) << check->objectName().toStdString();
  EXPECT_TRUE(keyExists(PolicyKey::Explorer));
  EXPECT_TRUE(keyExists(PolicyKey::System));
  EXPECT_FALSE(keyExists(PolicyKey::Network));
}

TEST_F(PolicyPages, ZeroUnchecksAndAnyDriveChecksHideDrives) {
  setNumber(PolicyKey::Explorer, "NoRun", 0);
  setNumber(PolicyKey::Explorer, "NoDrives", 4);
  box("CheckBox25")->setChecked(true);
  Explorer.open();
  EXPECT_FALSE(box("CheckBox25")->isChecked());
  EXPECT_TRUE(box("CheckBox29")->isChecked());

  pressOk(Explorer, "OfficeButton57");
  EXPECT_EQ(saved(PolicyKey::Explorer, "NoRun"), std::nullopt);
  EXPECT_EQ(saved(PolicyKey::Explorer, "NoDrives"), 67108863);
  EXPECT_EQ(Desktop->Messages, std::vector{information(RestartMessage)});
}

TEST_F(PolicyPages, ValueThatIsNoDwordStopsLoadingAtItsRow) {
  const struct {
    const char *what;
    std::optional<std::string> text; // else REG_BINARY 01 00 00 00
    QString message;
  } cases[] = {
      {"REG_BINARY 01 00 00 00", std::nullopt,
       "Invalid data type for 'NoClose'"},
      {"short REG_SZ", "1", "Invalid data type for 'NoClose'"},
      {"long REG_SZ", "disabled", "Failed to get data for 'NoClose'"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    for (auto *check : Explorer.findChildren<QCheckBox *>())
      check->setChecked(false);
    Explorer.hide();
    Other->show();
    freshPrefix();
    setNumber(PolicyKey::Explorer, "NoDeletePrinter", 1);
    setNumber(PolicyKey::Explorer, "NoDesktop", 1);
    if (c.text)
      setText(PolicyKey::Explorer, "NoClose", *c.text);
    else
      setBinary(PolicyKey::Explorer, u"NoClose", {1, 0, 0, 0});
    ScopedFakePlatform desktop;
    try {
      Explorer.open();
      ADD_FAILURE() << "no error";
    } catch (const reg::RegistryError &error) {
      EXPECT_EQ(QString(error.what()), c.message);
    }
    EXPECT_TRUE(box("CheckBox23")->isChecked());
    EXPECT_TRUE(box("CheckBox31")->isChecked());
    EXPECT_FALSE(Explorer.isVisible());
    EXPECT_TRUE(Other->isVisible());
    // The System key of the last row was never opened.
    EXPECT_FALSE(keyExists(PolicyKey::System));
  }
}

TEST_F(PolicyPages, EveryBoxCheckedWritesEveryValueInItsOwnKey) {
  for (const PageCase &c : pageCases()) {
    SCOPED_TRACE(c.name);
    Page &page = *c.page;
    for (const PolicyBinding &binding : c.bindings)
      box(binding.checkBox)->setChecked(true);
    ScopedFakePlatform desktop;
    pressOk(page, c.ok);
    for (const PolicyBinding &binding : c.bindings)
      EXPECT_EQ(saved(binding.key, binding.value),
                std::string(binding.value) == "NoDrives" ? 67108863 : 1)
          << binding.value;
    EXPECT_EQ(desktop->Messages, std::vector{information(RestartMessage)});
  }
}

TEST_F(PolicyPages, EveryBoxUncheckedDeletesEveryValue) {
  for (const PageCase &c : pageCases()) {
    SCOPED_TRACE(c.name);
    Page &page = *c.page;
    for (const PolicyBinding &binding : c.bindings)
      setNumber(binding.key, binding.value, 0);
    page.open();
    ScopedFakePlatform desktop;
    pressOk(page, c.ok);
    for (const PolicyBinding &binding : c.bindings)
      EXPECT_EQ(saved(binding.key, binding.value), std::nullopt)
          << binding.value;
    EXPECT_EQ(desktop->Messages, std::vector{information(RestartMessage)});
  }
}

TEST_F(PolicyPages, UncheckedBoxWithoutValueWritesNothing) {
  pressOk(System, "OfficeButton59");
  EXPECT_TRUE(keyExists(PolicyKey::System));
  EXPECT_EQ(saved(PolicyKey::System, "NoDispCPL"), std::nullopt);
}

TEST_F(PolicyPages, RegistryToolsGoUnderTheSystemKeyAndOnlyFromExplorer) {
  box("CheckBox34")->setChecked(true);
  pressOk(Explorer, "OfficeButton57");
  EXPECT_EQ(saved(PolicyKey::System, "DisableRegistryTools"), 1);
  EXPECT_EQ(saved(PolicyKey::Explorer, "DisableRegistryTools"), std::nullopt);

  System.open();
  pressOk(System, "OfficeButton59");
  EXPECT_EQ(saved(PolicyKey::System, "DisableRegistryTools"), 1);
}

TEST_F(PolicyPages, UnsavedTickSurvivesOnlyWhereNoValueExists) {
  setNumber(PolicyKey::System, "NoPwdPage", 0);
  System.open();
  box("CheckBox36")->setChecked(true); // no value
  box("CheckBox40")->setChecked(true); // value 0
  Explorer.open();
  System.open();
  EXPECT_TRUE(box("CheckBox36")->isChecked());
  EXPECT_FALSE(box("CheckBox40")->isChecked());
}

TEST_F(PolicyPages, SetupSecurityAndAccessControlShareOneValue) {
  setNumber(PolicyKey::Network, "NoNetSetupSecurityPage", 1);
  Network.open();
  EXPECT_TRUE(box("CheckBox47")->isChecked());
  EXPECT_TRUE(box("CheckBox50")->isChecked());

  box("CheckBox50")->setChecked(false);
  pressOk(Network, "OfficeButton61");
  EXPECT_EQ(saved(PolicyKey::Network, "NoNetSetupSecurityPage"), std::nullopt);
}

TEST_F(PolicyPages, NetworkPageNotesIeFourBelowRecentDocuments) {
  auto *note = Network.findChild<QLabel *>("Label76");
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(), "(Requires IE4)");
  Network.open();
  EXPECT_GT(note->y(), box("CheckBox55")->y());
  EXPECT_LT(note->y(), box("CheckBox56")->y());
}

class PoliciesList : public PolicyPages {
protected:
  PoliciesList() { policies::installPoliciesCategory(Host); }

  CategoryList &list() const { return *Host.List; }
  void select(int index) { list().setCurrentRow(index); }
  void doubleClick(int index) {
    const QRect place = list().visualItemRect(list().item(index));
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, place.center());
  }
};

TEST_F(PoliciesList, ItemsShowTheirHintsAndOpenTheirPages) {
  const struct {
    const char *caption;
    const char *hint;
    const char *page;
  } cases[] = {
      {"Explorer", "Change things like disabling the shutdown menu",
       "GroupBox33"},
      {"System", "Change things like hiding the screensaver page",
       "GroupBox34"},
      {"Network and MS-DOS", "Change things like disabling the MS-DOS Promt",
       "GroupBox35"},
  };
  // Each page is built when its item is first opened.
  EXPECT_TRUE(Host.AddedPages.empty());
  EXPECT_TRUE(Host.Actions.empty());
  // The Start button item waits for its page.
  ASSERT_EQ(list().count(), 4);
  EXPECT_TRUE(list().isRowHidden(3));
  for (int index = 0; index < 3; ++index) {
    const auto &c = cases[index];
    EXPECT_EQ(list().item(index)->text(), c.caption);
    const QRect place = list().visualItemRect(list().item(index));
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, place.center());
    EXPECT_EQ(Host.Hints.back(), c.hint);
    doubleClick(index);
    ASSERT_EQ(Host.AddedPages.size(), std::size_t(index) + 1);
    EXPECT_EQ(Host.AddedPages.back()->objectName(), c.page);
    for (Page *page : Host.AddedPages)
      EXPECT_EQ(page->isVisible(), page->objectName() == c.page)
          << page->objectName().toStdString();
  }
}

TEST_F(PoliciesList, BuildingAllPartsAddsEachPageOnce) {
  doubleClick(1);
  ASSERT_EQ(Host.Builders.size(), 1u);
  for (int round = 0; round < 2; ++round) {
    Host.Builders[0]();
    QStringList names;
    for (Page *page : Host.AddedPages)
      names.push_back(page->objectName());
    EXPECT_EQ(names, (QStringList{"GroupBox34", "GroupBox33", "GroupBox35"}));
  }
}

TEST_F(PoliciesList, AReopenedPageIsTheSamePageWithItsBoxesAsLeft) {
  doubleClick(0);
  ASSERT_EQ(Host.AddedPages.size(), 1u);
  Page *explorer = Host.AddedPages[0];
  // "NoRun" is absent, so loading leaves its box as the user left it.
  auto *noRun = explorer->findChild<QCheckBox *>("CheckBox25");
  ASSERT_NE(noRun, nullptr);
  noRun->setChecked(true);
  doubleClick(1);
  EXPECT_FALSE(explorer->isVisible());
  doubleClick(0);
  EXPECT_EQ(Host.AddedPages.size(), 2u);
  EXPECT_TRUE(explorer->isVisible());
  EXPECT_TRUE(noRun->isChecked());
}

TEST_F(PoliciesList, DoubleClickWithNothingSelectedChangesNothing) {
  list().clearSelection();
  QTest::mouseDClick(list().viewport(), Qt::LeftButton, {},
                     list().viewport()->rect().bottomRight() - QPoint(2, 2));
  EXPECT_TRUE(Other->isVisible());
  for (Page *page : Host.AddedPages)
    EXPECT_FALSE(page->isVisible());
}

TEST_F(PoliciesList, LoadingFailureReachesTheDefaultErrorBox) {
  setBinary(PolicyKey::Explorer, u"NoClose", {1, 0, 0, 0});
  select(0);
  doubleClick(0);
  EXPECT_EQ(Desktop->Messages,
            std::vector{defaultError("Invalid data type for 'NoClose'")});
  EXPECT_TRUE(Other->isVisible());
}

} // namespace
} // namespace tf::test
