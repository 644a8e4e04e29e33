#pragma once

#include <functional>

#include <QList>
#include <QPushButton>
#include <QWidget>

namespace mirel {

/// A row of JSON punctuation keys, "{ } [ ] \" : ,", for on-screen keyboards that lack them.
/// Each key calls `onInsertText` with its character; the keys never take the focus, so the text
/// keeps its caret.
class KeyRow : public QWidget {
  Q_OBJECT

 public:
  /// The characters of the keys, in order.
  static const QList<QString>& keys();
  /// Height of the row.
  static constexpr int rowHeight = 48;

  explicit KeyRow(QWidget* parent = nullptr);

  std::function<void(const QString&)> onInsertText;

  [[nodiscard]] const QList<QPushButton*>& buttons() const { return m_buttons; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void applyColours();

  QList<QPushButton*> m_buttons;
  bool m_applying = false;
};

}  // namespace mirel
