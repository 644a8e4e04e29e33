#pragma once

#include <memory>
#include <optional>

#include <QString>

class QJSEngine;

namespace mirel {

/// Turns a text into the lint script's message about it, for input that generated nothing.
///
/// The script engine is built on the first validation, once: it evaluates the lint script (which
/// defines `jsonlint.parse`) and a small wrapper that returns the caught error's message. If the
/// script cannot be read, every validation returns nothing and the build is not tried again.
/// Main thread only.
class JSONValidator {
 public:
  /// The process's one validator, over the lint script in the application's resources.
  [[nodiscard]] static JSONValidator& shared();

  /// A validator over the lint script at `resourcePath` (a file or a ":/" resource).
  explicit JSONValidator(QString resourcePath);
  ~JSONValidator();
  JSONValidator(const JSONValidator&) = delete;
  JSONValidator& operator=(const JSONValidator&) = delete;

  /// The lint message for `json` (line breaks included), or nothing when the script finds no
  /// fault or cannot run.
  [[nodiscard]] std::optional<QString> validate(const QString& json);

  /// The wrapper evaluated after the lint script.
  static const char* const kWrapperScript;

 private:
  [[nodiscard]] QJSEngine* context();

  QString m_resourcePath;
  bool m_built = false;
  std::unique_ptr<QJSEngine> m_context;
};

}  // namespace mirel
