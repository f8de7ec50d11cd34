#pragma once
// The manual shown inside the program: its Markdown rendered with headings, tables, links and
// pictures, searchable with Ctrl+F. Needs no desktop viewer.
#include <QDialog>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace pictarix {

class ManualViewer : public QDialog {
 public:
  ManualViewer(const QString& manualPath, QWidget* parent);

  // Shows the manual at `manualPath` in the viewer that `parent` already has open, or in a new
  // one. False when the file cannot be read.
  static bool Show(const QString& manualPath, QWidget* parent);

  QTextBrowser* Browser() const { return browser_; }
  QLineEdit* FindBox() const { return findBox_; }

  // Finds the find box's text after (or, backwards, before) the cursor, wrapping around once.
  bool FindNext(bool backwards = false);

 private:
  void OpenFindBar();
  void CloseFindBar();
  void keyPressEvent(QKeyEvent* event) override;

  QTextBrowser* browser_;
  QWidget* findBar_;
  QLineEdit* findBox_;
  QLabel* findResult_;
};

}  // namespace pictarix
