// The pattern every tweak page follows: a group box of the main window that
// is filled from the registry, shown alone in the page area, writes its
// setting on "O&K" and ends the program on "C&ancel".
#pragma once

#include <QGroupBox>
#include <QString>

class QPushButton;

namespace tf {

// What a page needs from the main window that holds it.
class PageHost {
public:
  virtual ~PageHost() = default;
  // The status bar's one line of text.
  virtual void setHint(const QString &hint) = 0;
  // Hide-all-pages (`ToolbarButton971Click`).
  virtual void hideAllPages() = 0;
  // The terminate request: the program ends once the current handler has
  // returned and the event loop runs, even when asked while showing.
  virtual void terminate() = 0;
};

class Page : public QGroupBox {
  Q_OBJECT
public:
  Page(PageHost &host, const QString &objectName, const QString &caption,
       QWidget *parent = nullptr);

  // Opens the page: fill() first (when it throws, nothing on the screen has
  // changed and the error goes on to the caller), then hide-all-pages, then
  // this page is shown.
  void open();
  // Hide-all-pages and show this page without filling it.
  void showWithoutFilling();

protected:
  // Reads the registry into the page's controls. Nothing by default.
  virtual void fill() {}

  PageHost &host() const { return Host; }

  // Adds "O&K" and "C&ancel" side by side at the bottom of the page, "O&K"
  // on the left, named `okName` and `cancelName`. "C&ancel" ends the program.
  // With `standardHints`, moving the mouse over them sets "Save the settings
  // to the registry" and "Exit Tweakforge without saving. ..." as hints.
  // Returns the "O&K" button for the page to connect its handler.
  QPushButton *addOkCancel(const QString &okName, const QString &cancelName,
                           bool standardHints = true);

private:
  PageHost &Host;
};

} // namespace tf
