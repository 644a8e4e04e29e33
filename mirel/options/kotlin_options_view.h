#pragma once

#include "mirel/options/options_screen.h"
#include "telvar/options/output_options.h"

namespace mirel {

/// The Kotlin options: package name, model prefix, structure style, declaration kind, the name
/// maps and acronyms, ignored and optional properties, and the property order.
class KotlinOptionsView : public OptionsScreen {
  Q_OBJECT
 public:
  explicit KotlinOptionsView(Binding<telvar::KotlinOptions> options, QWidget* parent = nullptr);

 private:
  Binding<telvar::KotlinOptions> m_options;
};

}  // namespace mirel
