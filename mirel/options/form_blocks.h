#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include "mirel/options/binding.h"
#include "mirel/options/view_modifiers.h"

class QButtonGroup;
class QComboBox;

namespace mirel {

// The pieces every option screen is built from. Each control is made once, holds a binding, and
// re-reads it in `reload()`; a control writes only on the user's own edits, so a reload never
// writes back and never moves the caret of a field whose text is already the model's.

/// The spacing of a screen's column of boxes and of a box holding several blocks.
inline constexpr int kBlockSpacing = 16;
/// The platform's default spacing (the style decides).
inline constexpr int kDefaultSpacing = -1;
/// The leading inset of the initializer settings and of an enum map's cases.
inline constexpr int kNestedInset = 32;
/// The spacing of the rows of a list editor.
inline constexpr int kRowSpacing = 8;

/// Colours the screens use beyond the palette's own: the accent (the palette's highlight), the
/// red of remove buttons, and the fill of a box; each follows the palette (light or dark).
[[nodiscard]] QColor accentColour(const QPalette& palette);
[[nodiscard]] QColor removeRed(const QPalette& palette);
[[nodiscard]] QColor boxFill(const QPalette& palette);

/// A bold title: of every block, toggle and list editor.
[[nodiscard]] QLabel* sectionTitle(const QString& title, QWidget* parent = nullptr);

/// A vertical stack, leading-aligned, without margins, with `spacing` (kBlockSpacing or
/// kDefaultSpacing).
[[nodiscard]] QVBoxLayout* makeStack(QWidget* owner, int spacing);

/// A box without label: a rounded filled panel around one vertical section stack.
class Box : public QFrame {
  Q_OBJECT
 public:
  Box(int spacing, QWidget* parent = nullptr);
  /// The section stack that the box's blocks go into.
  [[nodiscard]] QVBoxLayout* stack() const { return m_stack; }
  void add(QWidget* block) { m_stack->addWidget(block); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QVBoxLayout* m_stack;
};

/// A block's own stack: the parts of one block, with default spacing.
class BlockStack : public QWidget {
  Q_OBJECT
 public:
  explicit BlockStack(QWidget* parent = nullptr);
  void add(QWidget* part) { m_stack->addWidget(part); }

 private:
  QVBoxLayout* m_stack;
};

/// A one-line text field bound to a text. It writes on every user edit, the empty text included.
class BoundLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  BoundLineEdit(const QString& placeholder, TextFieldKind kind, QWidget* parent = nullptr);
  /// Shows `text` unless the field already shows it (the caret then stays where it is).
  void showText(const std::string& text);
  /// What a user edit calls with the new text.
  void onEdited(std::function<void(std::string)> write);
};

/// A bold title above a text field whose placeholder is the same title.
class TextFieldBlock : public QWidget {
  Q_OBJECT
 public:
  TextFieldBlock(const QString& title, Binding<std::string> binding, TextFieldKind kind,
                 QWidget* parent = nullptr);
  void reload();
  [[nodiscard]] QLineEdit* field() const { return m_field; }

 private:
  Binding<std::string> m_binding;
  BoundLineEdit* m_field;
};

/// A choice among labelled cases: a row of exclusive buttons (segmented) or a drop-down list.
/// `current` gives the index of the shown case, or nothing when the stored case has no choice
/// here (then no button is selected); `choose` stores the case of an index.
class ChoicePicker : public QWidget {
  Q_OBJECT
 public:
  ChoicePicker(const QString& label, const QStringList& choices, PickerStyle style,
               std::function<std::optional<int>()> current, std::function<void(int)> choose,
               QWidget* parent = nullptr);
  void reload();
  /// The index shown as selected, or nothing.
  [[nodiscard]] std::optional<int> selectedIndex() const;
  /// The buttons of a segmented picker, in choice order (empty for a drop-down list).
  [[nodiscard]] const std::vector<QAbstractButton*>& segments() const { return m_segments; }
  [[nodiscard]] QComboBox* comboBox() const { return m_combo; }

 private:
  void userChose(int index);

  std::function<std::optional<int>()> m_current;
  std::function<void(int)> m_choose;
  QButtonGroup* m_group = nullptr;
  std::vector<QAbstractButton*> m_segments;
  QComboBox* m_combo = nullptr;
};

/// A picker over the cases of an enumeration: `choices` pairs each label with its case, in the
/// order shown. A stored case without a choice selects none.
template <class E>
[[nodiscard]] ChoicePicker* makePicker(const QString& label, Binding<E> binding,
                                       std::vector<std::pair<QString, E>> choices,
                                       PickerStyle style, QWidget* parent = nullptr) {
  QStringList labels;
  std::vector<E> cases;
  for (auto& [text, value] : choices) {
    labels << text;
    cases.push_back(value);
  }
  return new ChoicePicker(
      label, labels, style,
      [binding, cases]() -> std::optional<int> {
        E value = binding.get();
        for (std::size_t i = 0; i < cases.size(); ++i) {
          if (cases[i] == value) return static_cast<int>(i);
        }
        return std::nullopt;
      },
      [binding, cases](int index) {
        if (index >= 0 && static_cast<std::size_t>(index) < cases.size()) {
          binding.set(cases[static_cast<std::size_t>(index)]);
        }
      },
      parent);
}

/// A bold title above a picker (whose own label, the plain title, is its accessible name).
class PickerBlock : public QWidget {
  Q_OBJECT
 public:
  PickerBlock(const QString& title, ChoicePicker* picker, QWidget* parent = nullptr);
  void reload() { m_picker->reload(); }
  [[nodiscard]] ChoicePicker* picker() const { return m_picker; }

 private:
  ChoicePicker* m_picker;
};

/// A switch on a flag, labelled with a bold title; the switch sits at the trailing edge, and a
/// click anywhere on the block flips it.
class ToggleBlock : public QWidget {
  Q_OBJECT
 public:
  ToggleBlock(const QString& title, Binding<bool> binding, QWidget* parent = nullptr);
  void reload();
  [[nodiscard]] QCheckBox* toggle() const { return m_switch; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Binding<bool> m_binding;
  QCheckBox* m_switch;
};

/// A flat button whose text is drawn in the accent colour ("Add Case").
class AccentTextButton : public QPushButton {
  Q_OBJECT
 public:
  explicit AccentTextButton(const QString& text, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

/// The add and remove buttons: a circle with a plus in the accent colour, or with a minus in
/// red, drawn for the current palette; the help text is the tooltip and the accessible name.
class SymbolButton : public QToolButton {
  Q_OBJECT
 public:
  enum class Symbol { plusCircle, minusCircle };
  SymbolButton(Symbol symbol, const QString& help, QWidget* parent = nullptr);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void paintSymbol();
  Symbol m_symbol;
};

}  // namespace mirel
