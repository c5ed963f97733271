// The program's help: HTML topics shipped with the program, one per help
// context number, shown in a window of their own.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace tf {

// The contents page and the topic of a context number (the contents page for
// a number without a topic).
QUrl helpContentsUrl();
QUrl helpTopicUrl(int context);

class HelpWindow : public QWidget {
  Q_OBJECT
public:
  explicit HelpWindow(QWidget *parent = nullptr);

  void showContents();
  void showContext(int context);
  QUrl currentUrl() const;

private:
  void showUrl(const QUrl &url);

  QTextBrowser *Browser;
};

} // namespace tf
