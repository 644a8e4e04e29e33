#pragma once

class QAbstractButton;
class QLineEdit;

namespace mirel {

// The four small looks that the option screens give their text fields, pickers and buttons.
// Qt's line edits offer neither autocorrection nor automatic capitals on a desktop keyboard; the
// input-method hints below ask the same of on-screen keyboards, which is where either exists.

/// A rounded-border text field without autocorrection; capitals as the keyboard's default.
struct TextFieldBigModifier {
  static void apply(QLineEdit& field);
};

/// As `TextFieldBigModifier`, and a typed first letter stays as typed (no automatic capitals):
/// for paths, keys and names that are matched as written.
struct TextFieldSmallModifier {
  static void apply(QLineEdit& field);
};

/// How a picker shows its choices: a row of exclusive buttons, or a drop-down list.
enum class PickerStyle { segmented, menu };

/// The segmented look of the option screens' pickers.
struct PickerCustomModifier {
  static constexpr PickerStyle style = PickerStyle::segmented;
};

/// The add and remove buttons keep their look: this changes nothing, and exists so that every
/// such button is marked as one of them.
struct ButtonCustomModifier {
  static void apply(QAbstractButton& button);
};

/// Which of the two text-field looks a field takes.
enum class TextFieldKind { big, small };

/// Applies the look of `kind` to `field`.
void applyTextFieldKind(QLineEdit& field, TextFieldKind kind);

}  // namespace mirel
