#include "mirel/widgets/version.h"

namespace mirel {

QString appVersion() {
#ifdef MIREL_VERSION
  const QString version = QStringLiteral(MIREL_VERSION);
  if (!version.isEmpty()) return version;
#endif
  return QStringLiteral("1.0.0");
}

QString appBuild() {
#ifdef MIREL_BUILD
  const QString build = QStringLiteral(MIREL_BUILD);
  if (!build.isEmpty()) return build;
#endif
  return QStringLiteral("100");
}

QString versionText(const QString& version, const QString& build) {
  return QStringLiteral("Version %1 (%2)").arg(version, build);
}

}  // namespace mirel
