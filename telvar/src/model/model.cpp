#include "telvar/model/model.h"

#include <new>
#include <stdexcept>

namespace telvar {

const std::shared_ptr<const std::string>& SharedText::empty() {
  static const std::shared_ptr<const std::string> text = std::make_shared<const std::string>();
  return text;
}

Model::Model(Uuid id, std::string input, std::optional<Indentation> indentation,
             std::optional<std::string> modelName, std::optional<OutputType> outputType,
             std::optional<SchemaOptions> schemaOptions, std::optional<SwiftOptions> swiftOptions,
             std::optional<KotlinOptions> kotlinOptions, std::optional<DartOptions> dartOptions,
             std::optional<GoOptions> goOptions, std::optional<ProtoOptions> protoOptions)
    : _indentation(std::move(indentation)),
      _modelName(std::move(modelName)),
      _outputType(outputType),
      _schemaOptions(std::move(schemaOptions)),
      _swiftOptions(std::move(swiftOptions)),
      _kotlinOptions(std::move(kotlinOptions)),
      _dartOptions(std::move(dartOptions)),
      _goOptions(std::move(goOptions)),
      _protoOptions(std::move(protoOptions)),
      m_id(id),
      m_input(std::move(input)) {}

Model modelFromDocumentText(std::string_view text) {
  nlohmann::json json;
  try {
    json = nlohmann::json::parse(text);
  } catch (const nlohmann::json::exception& e) {
    std::string detail = "the document is not valid JSON";
    if (const auto* parseError = dynamic_cast<const nlohmann::json::parse_error*>(&e)) {
      detail += " (at byte " + std::to_string(parseError->byte) + ")";
    }
    throw DecodingError(DecodingError::Kind::dataCorrupted, {}, detail);
  } catch (const std::bad_alloc&) {
    // Reported like any unreadable document, so that no caller ends for it; the partly read
    // JSON is gone by now, which leaves room for the message.
    throw DecodingError(DecodingError::Kind::dataCorrupted, {}, "out of memory");
  }
  try {
    return fromJson<Model>(json);
  } catch (const std::bad_alloc&) {
    throw DecodingError(DecodingError::Kind::dataCorrupted, {}, "out of memory");
  }
}

std::string documentText(const Model& model) {
  try {
    return toJson(model).dump();
  } catch (const nlohmann::json::type_error&) {
    throw std::invalid_argument("the document holds text that is not valid UTF-8");
  }
}

}  // namespace telvar
