#pragma once

#include "mirel/options/options_screen.h"
#include "telvar/options/output_options.h"

namespace mirel {

/// The JSON Schema options: ignored and optional properties, the three detections and the
/// property order.
class SchemaOptionsView : public OptionsScreen {
  Q_OBJECT
 public:
  explicit SchemaOptionsView(Binding<telvar::SchemaOptions> options, QWidget* parent = nullptr);

 private:
  Binding<telvar::SchemaOptions> m_options;
};

}  // namespace mirel
