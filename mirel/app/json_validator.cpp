#include "mirel/app/json_validator.h"

#include <QFile>
#include <QJSEngine>
#include <QJSValue>

namespace mirel {

const char* const JSONValidator::kWrapperScript =
    "var wrapper = function(json) {\n"
    "  var result = \"\";\n"
    "  try {\n"
    "    jsonlint.parse(json);\n"
    "  } catch (error) {\n"
    "    result = error.message;\n"
    "  };\n"
    "  return result;\n"
    "}";

JSONValidator& JSONValidator::shared() {
  // Never released: the script engine lives as long as the process.
  static JSONValidator* const validator = new JSONValidator(QStringLiteral(":/jsonlint.js"));
  return *validator;
}

JSONValidator::JSONValidator(QString resourcePath) : m_resourcePath(std::move(resourcePath)) {}

JSONValidator::~JSONValidator() = default;

QJSEngine* JSONValidator::context() {
  if (m_built) return m_context.get();
  m_built = true;

  QFile file(m_resourcePath);
  if (!file.open(QIODevice::ReadOnly)) return nullptr;
  const QByteArray script = file.readAll();
  if (file.error() != QFileDevice::NoError) return nullptr;

  auto context = std::make_unique<QJSEngine>();
  // Exceptions of either script are ignored: a broken lint script shows up in the wrapper's own
  // message, and a missing wrapper in `validate`.
  context->evaluate(QString::fromUtf8(script), m_resourcePath);
  context->evaluate(QString::fromLatin1(kWrapperScript));
  m_context = std::move(context);
  return m_context.get();
}

std::optional<QString> JSONValidator::validate(const QString& json) {
  QJSEngine* engine = context();
  if (!engine) return std::nullopt;
  QString message;
  {
    const QJSValue wrapper = engine->globalObject().property(QStringLiteral("wrapper"));
    if (!wrapper.isCallable()) return std::nullopt;
    const QJSValue result = wrapper.call({QJSValue(json)});
    if (!result.isError() && result.isString()) message = result.toString();
  }
  // With every handle to the call released, a collection drops the input (possibly many
  // megabytes) and the message now instead of at some later run.
  engine->collectGarbage();
  if (message.isEmpty()) return std::nullopt;
  return message;
}

}  // namespace mirel
