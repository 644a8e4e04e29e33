#include "mirel/options/view_modifiers.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace mirel {

void TextFieldBigModifier::apply(QLineEdit& field) {
  field.setFrame(true);
  field.setInputMethodHints(field.inputMethodHints() | Qt::ImhNoPredictiveText);
}

void TextFieldSmallModifier::apply(QLineEdit& field) {
  field.setFrame(true);
  field.setInputMethodHints(field.inputMethodHints() | Qt::ImhNoPredictiveText |
                            Qt::ImhNoAutoUppercase);
}

void ButtonCustomModifier::apply(QAbstractButton& /*button*/) {}

void applyTextFieldKind(QLineEdit& field, TextFieldKind kind) {
  if (kind == TextFieldKind::small) {
    TextFieldSmallModifier::apply(field);
  } else {
    TextFieldBigModifier::apply(field);
  }
}

}  // namespace mirel
