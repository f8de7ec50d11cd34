#pragma once
// The about box: program icon, product title, "Pictarix 4.5", a link to the product's web page
// and a label that opens a new mail message (both red while the mouse is over them), OK.
#include <QDialog>
#include <QLabel>
#include <QUrl>

namespace pictarix {

// A label that opens its address when clicked and turns red while hovered.
class HoverLabel : public QLabel {
  Q_OBJECT

 public:
  HoverLabel(const QString& text, const QUrl& target, QWidget* parent = nullptr);
  const QUrl& Target() const { return target_; }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetColour(const QColor& colour);
  // The colour of the label when not hovered.
  static QColor TextColour();
  QUrl target_;
};

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  static inline const QString kProductName = QStringLiteral("Pictarix");
  static inline const QString kWebPage = QStringLiteral("https://www.example.org/pictarix/");
  static inline const QString kMailAddress = QStringLiteral("pictarix@example.org");

  explicit AboutDialog(QWidget* parent = nullptr);

  // The product name and the version joined as "%s %s", the version as "%d.%d".
  static QString VersionCaption();

  HoverLabel* LinkLabel() const { return link_; }
  HoverLabel* MailLabel() const { return mail_; }

 private:
  HoverLabel* link_ = nullptr;
  HoverLabel* mail_ = nullptr;
};

}  // namespace pictarix
