#pragma once

#include "mirel/options/options_screen.h"
#include "telvar/options/output_options.h"

namespace mirel {

/// The Swift options, every field of the Swift and value options. Its layout follows three of
/// them: the protocol type picks "Use Sorbel Macros" or "Type Name Maps", the memberwise
/// initializer flag shows its settings, and the naming style shows the name maps and acronyms.
class SwiftOptionsView : public OptionsScreen {
  Q_OBJECT
 public:
  explicit SwiftOptionsView(Binding<telvar::SwiftOptions> options, QWidget* parent = nullptr);

 private:
  Binding<telvar::SwiftOptions> m_options;
};

}  // namespace mirel
