#pragma once

#include "mirel/options/options_screen.h"
#include "telvar/options/output_options.h"

namespace mirel {

/// The Go options: package name, model prefix, structure style, the name maps and acronyms,
/// ignored and optional properties, and the property order.
class GoOptionsView : public OptionsScreen {
  Q_OBJECT
 public:
  explicit GoOptionsView(Binding<telvar::GoOptions> options, QWidget* parent = nullptr);

 private:
  Binding<telvar::GoOptions> m_options;
};

}  // namespace mirel
