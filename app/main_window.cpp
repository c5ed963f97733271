#include "app/main_window.h"

#include "app/about_page.h"
#include "app/actions_menu.h"
#include "app/settings_steps.h"
#include "app/toolbar_dock.h"
#include "app/web_link.h"
#include "platform/help_context.h"
#include "platform/platform.h"
#include "platform/widgets.h"
#include "tweaks/common/category_list.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QStatusBar>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace tf {

namespace {

const char *const WelcomeHint = "Welcomme to Tweakforge";

constexpr std::array<CategoryItem, 6> Categories{{
    {"Look", LookPicture, "Change how Windows 95 looks"},
    {"Functionality", FunctionalityPicture,
     "Change events like what happens when you click on an icon"},
    {"Information etc", InformationPicture,
     "Change information in Windows 95 like owner information etc"},
    {"Speed and more", SpeedPicture, "Change menu speed etc"},
    {"Other", OtherPicture, "Other thing like changing directories"},
    {"Policies", PoliciesPicture, "Change the Security"},
}};

// Help contexts of the main window and its menu items.
constexpr int MainHelpContext = 1;
constexpr int HomepageHelpContext = 4;
constexpr int AboutHelpContext = 6;

// Places of the filler panels in their docks; their widths follow the
// window's outer width (FormResize).
constexpr int Panel2Left = 195;
constexpr int Panel2Margin = 203;
constexpr int Panel4Left = 141;
constexpr int Panel4Margin = 149;

Qt::WindowFlags mainWindowFlags() {
  // System menu and minimize, no maximize; the frame stays sizeable.
  return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
         Qt::WindowCloseButtonHint;
}

QAction *menuItem(QMenu *menu, const char *name, const QString &caption,
                  int helpContext) {
  QAction *action = menu->addAction(caption);
  action->setObjectName(QLatin1String(name));
  setHelpContext(action, helpContext);
  return action;
}

QMenu *namedMenu(const char *name, const QString &title, QWidget *parent) {
  auto *menu = new QMenu(title, parent);
  menu->setObjectName(QLatin1String(name));
  return menu;
}

bool hasVisibleItems(const QMenu *menu) {
  for (const QAction *action : menu->actions())
    if (action->isVisible() && !action->isSeparator())
      return true;
  return false;
}

// A menu toolbar button is shown only while its menu has items to show.
class MenuButtonVisibility : public QObject {
public:
  MenuButtonVisibility(QToolButton *button, QMenu *menu)
      : QObject(button), Button(button) {
    menu->installEventFilter(this);
    update(menu);
  }

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::ActionAdded ||
        event->type() == QEvent::ActionRemoved ||
        event->type() == QEvent::ActionChanged)
      update(static_cast<QMenu *>(watched));
    return false;
  }

private:
  void update(const QMenu *menu) { Button->setVisible(hasVisibleItems(menu)); }

  QToolButton *Button;
};

// Drops its menu down without the small arrow a menu button shows.
class MenuToolButton : public QToolButton {
public:
  using QToolButton::QToolButton;

protected:
  void paintEvent(QPaintEvent *) override {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.features &= ~QStyleOptionToolButton::HasMenu;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
  }
};

QToolButton *menuButton(const char *name, const QString &caption, QMenu *menu,
                        QWidget *parent) {
  auto *button = new MenuToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setText(caption);
  button->setMenu(menu);
  button->setPopupMode(QToolButton::InstantPopup);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::TabFocus);
  new MenuButtonVisibility(button, menu);
  return button;
}

void setLetterFace(QToolButton *button, const QString &letter,
                   const QColor &colour) {
  QFont face(QStringLiteral("Times New Roman"));
  face.setPixelSize(19);
  button->setFont(face);
  button->setText(letter);
  QPalette colours = button->palette();
  colours.setColor(QPalette::ButtonText, colour);
  button->setPalette(colours);
}

// Mouse moves over the window's bare background: the widget itself under the
// mouse, not one of its children.
class BackgroundMouseMove : public QObject {
public:
  BackgroundMouseMove(QWidget *widget, std::function<void()> handler)
      : QObject(widget), Handler(std::move(handler)) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
  }

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::MouseMove) {
      auto *widget = static_cast<QWidget *>(watched);
      const auto *move = static_cast<QMouseEvent *>(event);
      if (!widget->childAt(move->position().toPoint()))
        Handler();
    }
    return false;
  }

private:
  std::function<void()> Handler;
};

} // namespace

TForm1::TForm1(Parts parts)
    : QWidget(nullptr, mainWindowFlags()), Settings(std::move(parts.settings)) {
  setObjectName(QStringLiteral("TForm1"));
  setWindowTitle(QStringLiteral("Tweakforge"));
  setHelpContext(this, MainHelpContext);
  buildMenus();

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  Dock972 = buildMenuDock();
  Dock973 = buildCommandDock();
  layout->addWidget(Dock972);
  layout->addWidget(Dock973);
  layout->addWidget(buildBody(), 1);

  auto *StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusHint = new QLabel(QString::fromLatin1(WelcomeHint), StatusBar1);
  StatusHint->setObjectName(QStringLiteral("StatusHint"));
  StatusHint->setAccessibleName(QStringLiteral("Status"));
  StatusBar1->addWidget(StatusHint, 1);
  StatusBar1->setMinimumHeight(19);
  layout->addWidget(StatusBar1);

  GroupBox1 = new AboutPage(*this);
  addPage(GroupBox1);
  GroupBox1->show();

  for (const auto &extend : parts.extensions)
    extend(*this);
  wireHints();

  resize(QSize(DesignClientWidth, DesignClientHeight)
             .expandedTo(minimumSizeHint()));
  move(DesignLeft, DesignTop);
  FormCreate();
  for (const auto &create : parts.dialogs)
    create(*this);
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::buildMenus() {
  PopupMenu1 = namedMenu("PopupMenu1", QStringLiteral("File"), this);
  Exit1 =
      menuItem(PopupMenu1, "Exit1", QStringLiteral("E&xit"), MainHelpContext);
  connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);

  PopupMenu2 = namedMenu("PopupMenu2", QStringLiteral("Help"), this);
  connect(
      menuItem(PopupMenu2, "Help1", QStringLiteral("&Help"), MainHelpContext),
      &QAction::triggered, this, &TForm1::Help1Click);
  connect(menuItem(PopupMenu2, "GotoTweakforgeHomepage1",
                   QStringLiteral("&Go to Tweakforge Homepage!"),
                   HomepageHelpContext),
          &QAction::triggered, this, &TForm1::GotoTweakforgeHomepage1Click);
  PopupMenu2->addSeparator()->setObjectName(QStringLiteral("N1"));
  connect(menuItem(PopupMenu2, "About1", QStringLiteral("&About"),
                   AboutHelpContext),
          &QAction::triggered, this, &TForm1::About1Click);

  PopupMenu3 = new ActionsMenu(this);
  PopupMenu4 = namedMenu("PopupMenu4", QStringLiteral("Password"), this);
}

ToolbarDock *TForm1::buildMenuDock() {
  auto *Toolbar972 =
      new DockToolbar(QStringLiteral("Toolbar972"), QStringLiteral("Menu"));
  QToolButton *file = menuButton("ToolbarButton975", QStringLiteral("File"),
                                 PopupMenu1, Toolbar972);
  Toolbar972->addWidget(file);
  Toolbar972->addWidget(menuButton(
      "ToolbarButton977", QStringLiteral("Actions"), PopupMenu3, Toolbar972));
  Toolbar972->addWidget(menuButton(
      "ToolbarButton973", QStringLiteral("Password"), PopupMenu4, Toolbar972));
  Toolbar972->addWidget(menuButton("ToolbarButton976", QStringLiteral("Help"),
                                   PopupMenu2, Toolbar972));
  // F10 opens the first menu, as it opens a menu bar.
  connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, file,
          &QToolButton::showMenu);
  auto *dock = new ToolbarDock(QStringLiteral("Dock972"), Toolbar972,
                               QStringLiteral("Panel2"), this);
  dock->panel()->move(Panel2Left, 0);
  return dock;
}

QToolButton *TForm1::commandButton(const QString &name, const QString &hint,
                                   const QString &accessibleName) {
  auto *button = new QToolButton;
  button->setObjectName(name);
  button->setAutoRaise(true);
  button->setFixedSize(26, 22);
  button->setIconSize(QSize(16, 16));
  button->setFocusPolicy(Qt::TabFocus);
  button->setToolTip(hint);
  button->setAccessibleName(accessibleName);
  onMouseMove(button, [this, hint] { setHint(hint); });
  return button;
}

ToolbarDock *TForm1::buildCommandDock() {
  auto *Toolbar973 =
      new DockToolbar(QStringLiteral("Toolbar973"), QStringLiteral("Menu"));
  QToolButton *exit =
      commandButton(QStringLiteral("ToolbarButton978"),
                    QStringLiteral("Exit Tweakforge"), QStringLiteral("Exit"));
  exit->setIcon(ImageList1.icon(ExitPicture));
  connect(exit, &QToolButton::clicked, this, &TForm1::Exit1Click);

  QToolButton *help = commandButton(QStringLiteral("ToolbarButton979"),
                                    QStringLiteral("Open Tweakforge's Help"),
                                    QStringLiteral("Help"));
  help->setIcon(ImageList1.icon(HelpPicture));
  connect(help, &QToolButton::clicked, this, &TForm1::Help1Click);

  QToolButton *web =
      commandButton(QStringLiteral("ToolbarButton9710"),
                    QStringLiteral("Go to Tweakforge's Homepage"),
                    QStringLiteral("Homepage"));
  setLetterFace(web, QStringLiteral("W"), Qt::red);
  connect(web, &QToolButton::clicked, this,
          &TForm1::GotoTweakforgeHomepage1Click);

  QToolButton *mail = commandButton(QStringLiteral("ToolbarButton974"),
                                    QStringLiteral("Send me E-Mail"),
                                    QStringLiteral("E-mail the author"));
  setLetterFace(mail, QStringLiteral("E"), QColor(128, 0, 128));
  mail->setFixedSize(23, 22);
  connect(mail, &QToolButton::clicked, this, &TForm1::ToolbarButton974Click);

  QToolButton *about = commandButton(QStringLiteral("ToolbarButton9711"),
                                     QStringLiteral("About Tweakforge"),
                                     QStringLiteral("About"));
  setLetterFace(about, QStringLiteral("A"), Qt::black);
  connect(about, &QToolButton::clicked, this, &TForm1::About1Click);

  auto *ToolbarSep972 = new QFrame;
  ToolbarSep972->setObjectName(QStringLiteral("ToolbarSep972"));
  ToolbarSep972->setFrameStyle(QFrame::VLine | QFrame::Sunken);
  ToolbarSep972->setFixedWidth(6);
  for (QWidget *widget : std::initializer_list<QWidget *>{exit, help, web, mail,
                                                          about, ToolbarSep972})
    Toolbar973->addWidget(widget);
  NiceButtons = {exit, help, web, about};

  auto *dock = new ToolbarDock(QStringLiteral("Dock973"), Toolbar973,
                               QStringLiteral("Panel4"), this);
  dock->panel()->move(Panel4Left, 0);
  return dock;
}

QWidget *TForm1::buildBody() {
  Body = new QWidget(this);
  Body->setObjectName(QStringLiteral("Body"));
  ListView1 = new CategoryList(QStringLiteral("ListView1"), Categories,
                               ImageList1, Body);
  ListView1->setAccessibleName(QStringLiteral("Categories"));
  ListView1->setMinimumSize(257, 228);
  for (int index = 0; index < int(Categories.size()); ++index)
    ListView1->setItemAvailable(index, false);
  ListView1->setHintHandler([this](const QString &hint) { setHint(hint); });
  ListView1->setDispatch([this](int index) { ListView1DblClick(index); });

  CategoryArea = new QWidget(Body);
  CategoryArea->setObjectName(QStringLiteral("CategoryArea"));
  CategoryArea->setMinimumSize(257, 105);
  new OverlapLayout(CategoryArea);
  PageArea = new QWidget(Body);
  PageArea->setObjectName(QStringLiteral("PageArea"));
  PageArea->setMinimumSize(257, 341);
  new OverlapLayout(PageArea);

  auto *left = new QVBoxLayout;
  left->setSpacing(7);
  left->addWidget(ListView1, 228);
  left->addWidget(CategoryArea, 105);
  auto *columns = new QHBoxLayout(Body);
  columns->setContentsMargins(0, 0, 1, 0);
  columns->setSpacing(7);
  columns->addLayout(left);
  columns->addWidget(PageArea, 1);
  return Body;
}

void TForm1::wireHints() {
  for (QWidget *background :
       {static_cast<QWidget *>(this), Body, PageArea, CategoryArea})
    new BackgroundMouseMove(background, [this] { FormMouseMove(); });
  onMouseMove(Dock972->panel(), [this] { Panel2MouseMove(); });
  onMouseMove(Dock973->panel(), [this] { Panel4MouseMove(); });
}

void TForm1::setHint(const QString &hint) { StatusHint->setText(hint); }

QString TForm1::hint() const { return StatusHint->text(); }

void TForm1::terminate() {
  // The loop ends once the current handler has returned. A queued call, not
  // a posted quit event: Qt discards posted quit events whenever a window is
  // shown, so a request made while showing (a refused start) would be lost.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [] {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
      },
      Qt::QueuedConnection);
}

void TForm1::addCategoryList(Category category, CategoryList *list) {
  const int index = int(category);
  CategoryLists[std::size_t(index)] = list;
  CategoryArea->layout()->addWidget(list);
  list->setVisible(category == Category::Look);
  ListView1->setItemAvailable(index, true);
}

void TForm1::addPage(Page *page) {
  PageArea->layout()->addWidget(page);
  page->hide();
  Pages.push_back(page);
}

void TForm1::addBuilder(std::function<void()> build) {
  Builders.push_back(std::move(build));
}

void TForm1::buildAllParts() {
  for (const auto &build : Builders)
    build();
}

void TForm1::setAction(const QString &handlerName,
                       std::function<void()> handler) {
  [[maybe_unused]] const bool known =
      PopupMenu3->setHandler(handlerName, std::move(handler));
  Q_ASSERT(known);
}

CategoryList *TForm1::categoryList(Category category) const {
  return CategoryLists[std::size_t(category)];
}

std::vector<CategoryList *> TForm1::allLists() const {
  std::vector<CategoryList *> lists{ListView1};
  for (CategoryList *list : CategoryLists)
    if (list)
      lists.push_back(list);
  return lists;
}

DockToolbar *TForm1::menuToolbar() const { return Dock972->toolbar(); }

DockToolbar *TForm1::commandToolbar() const { return Dock973->toolbar(); }

void TForm1::setCommandButtonsFlat(bool flat) {
  for (QToolButton *button : NiceButtons)
    button->setAutoRaise(flat);
}

void TForm1::setPoliciesGate(std::function<bool()> gate) {
  PoliciesGate = std::move(gate);
}

void TForm1::ToolbarButton971Click() {
  for (Page *page : Pages)
    page->hide();
}

void TForm1::ToolbarButton972Click() {
  for (CategoryList *list : CategoryLists)
    if (list)
      list->hide();
}

void TForm1::RefreshCategoryLists() {
  // Showing every list twice makes each lay out its icons anew after the
  // display options changed; the Look list is the one left showing.
  for (int pass = 0; pass < 2; ++pass) {
    ToolbarButton972Click();
    for (CategoryList *list : CategoryLists)
      if (list)
        list->show();
  }
  ToolbarButton972Click();
  if (CategoryList *look = categoryList(Category::Look))
    look->show();
}

void TForm1::Help1Click() { platform().showHelpContents(); }

void TForm1::GotoTweakforgeHomepage1Click() { goToHomepage(); }

void TForm1::ToolbarButton974Click() { sendMailToAuthor(this); }

void TForm1::About1Click() {
  ToolbarButton971Click();
  GroupBox1->show();
}

void TForm1::ListView1DblClick(int index) {
  if (index == int(Category::Policies) && PoliciesGate && !PoliciesGate())
    return;
  CategoryList *list = CategoryLists[std::size_t(index)];
  if (!list)
    return;
  ToolbarButton972Click();
  list->show();
}

void TForm1::FormCreate() {
  // A missing picture is reported but must not cost the user the settings
  // steps (window position, toolbar style, icon arrangement).
  runHandler([this] { GroupBox1->loadPicture(); });
  runHandler([this] { Settings->atCreation(*this); });
}

void TForm1::FormShow() { Settings->atFirstShowing(*this); }

void TForm1::FormResize() {
  const int outerWidth = frameGeometry().width();
  QFrame *Panel2 = Dock972->panel();
  QFrame *Panel4 = Dock973->panel();
  Panel2->setGeometry(Panel2Left, 0, outerWidth - Panel2Margin,
                      Dock972->height());
  Panel4->setGeometry(Panel4Left, 0, outerWidth - Panel4Margin,
                      Dock973->height());
}

void TForm1::FormDestroy() {
  runHandler([this] {
    platform().quitHelp();
    Settings->atExit(*this);
  });
}

void TForm1::FormMouseMove() { setHint(QString::fromLatin1(WelcomeHint)); }

void TForm1::Panel2MouseMove() {
  menuToolbar()->setDockPos(0);
  menuToolbar()->setDockRow(0);
}

void TForm1::Panel4MouseMove() {
  commandToolbar()->setDockPos(0);
  commandToolbar()->setDockRow(0);
}

void TForm1::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (Shown || event->spontaneous())
    return;
  Shown = true;
  FormShow();
}

void TForm1::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TForm1::closeEvent(QCloseEvent *event) {
  terminate();
  event->accept();
}

} // namespace tf
