#pragma once

#include "mirel/options/options_screen.h"
#include "telvar/options/output_options.h"

namespace mirel {

/// The Dart options: model prefix, final properties, the name maps and acronyms, ignored and
/// optional properties, the copyWith / fromJSON / toJSON members and the property order.
class DartOptionsView : public OptionsScreen {
  Q_OBJECT
 public:
  explicit DartOptionsView(Binding<telvar::DartOptions> options, QWidget* parent = nullptr);

 private:
  Binding<telvar::DartOptions> m_options;
};

}  // namespace mirel
