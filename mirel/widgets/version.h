#pragma once

#include <QString>

namespace mirel {

/// The application's version ("0.1.0"), set by the build; "1.0.0" when the build gives none.
[[nodiscard]] QString appVersion();
/// The build number, set by the build; "100" when the build gives none.
[[nodiscard]] QString appBuild();
/// The settings footer: "Version 0.1.0 (123)".
[[nodiscard]] QString versionText(const QString& version, const QString& build);

}  // namespace mirel
