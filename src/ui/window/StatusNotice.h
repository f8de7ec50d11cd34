#pragma once
// The status line's notice: a message with a link beside it, in its own area of the status line
// so that the counters and the selection's text stay. A brief notice (what a command wrote, with
// "Open Folder") shows for kShownMs; a lasting one (the files a run could not read) shows until it
// is cleared, and again once a brief one has gone.
#include <functional>
#include <optional>

#include <QString>
#include <QWidget>

class QLabel;
class QTimer;

namespace pictarix {

class StatusNotice : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShownMs = 10000;

  struct Notice {
    QString Message;  // plain text, shortened in the middle when room is short; may be empty
    QString Link;     // the link's text
    std::function<void()> Action;
  };

  explicit StatusNotice(QWidget* parent = nullptr);

  void ShowBriefly(Notice notice);
  void ShowLasting(Notice notice);
  void ClearLasting();
  // Whether what is shown now is a brief notice.
  bool Brief() const { return brief_.has_value(); }
  // What is shown now: the message and the link's text (both empty when nothing is).
  QString Message() const;
  QString LinkText() const;
  // As a click on the link.
  void ActivateLink();

  QSize sizeHint() const override;

 signals:
  // The notice shown changed: the status line lays out its areas again.
  void Changed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const Notice* Shown() const;
  void Show();
  void PlaceLink();  // at the right edge, the message taking what is left
  static QString LinkMarkup(const QString& link);

  QLabel* link_ = nullptr;
  QTimer* expiry_ = nullptr;
  std::optional<Notice> brief_;
  std::optional<Notice> lasting_;
  int linkWidth_ = 0;  // of the link's label with its whole text
};

}  // namespace pictarix
