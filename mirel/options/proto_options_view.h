#pragma once

#include "mirel/options/options_screen.h"
#include "telvar/options/output_options.h"

namespace mirel {

/// The Protocol Buffers options: package name, structure style, type-name maps and optional
/// properties.
class ProtoOptionsView : public OptionsScreen {
  Q_OBJECT
 public:
  explicit ProtoOptionsView(Binding<telvar::ProtoOptions> options, QWidget* parent = nullptr);

 private:
  Binding<telvar::ProtoOptions> m_options;
};

}  // namespace mirel
