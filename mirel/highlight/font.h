#pragma once

#include <string>

namespace mirel {

/// The font a highlighter sets once over the whole text. The application turns it into its
/// toolkit's font; an empty family means the system's font of the given pitch.
struct Font {
  std::string family;
  double pointSize = 15.0;
  bool monospaced = true;

  /// The system's monospaced font at `pointSize`, as the output view shows code.
  [[nodiscard]] static Font monospacedSystem(double pointSize) { return Font{{}, pointSize, true}; }

  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace mirel
