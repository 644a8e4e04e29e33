#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include <nlohmann/json.hpp>

#include "telvar/options/output_options.h"
#include "telvar/options/settings.h"
#include "telvar/options/uuid.h"
#include "telvar/value/indentation.h"

namespace telvar {

/// An immutable text shared between copies: copying a `Model` (the document history keeps up to
/// eleven) never copies a large sample. Replacing the text makes a new one.
class SharedText {
 public:
  SharedText() : m_text(empty()) {}
  explicit SharedText(std::string text)
      : m_text(std::make_shared<const std::string>(std::move(text))) {}

  [[nodiscard]] const std::string& text() const noexcept { return *m_text; }
  /// True when both copies hold the very same text object.
  [[nodiscard]] bool sharesWith(const SharedText& other) const noexcept {
    return m_text == other.m_text;
  }

 private:
  static const std::shared_ptr<const std::string>& empty();
  std::shared_ptr<const std::string> m_text;
};

namespace settings {
template <>
struct Coder<SharedText> {
  [[nodiscard]] static nlohmann::json encode(const SharedText& value) { return value.text(); }
  [[nodiscard]] static SharedText decode(const nlohmann::json& json) {
    return SharedText(coding::readString(json));
  }
  /// Canonically equivalent texts are equal.
  [[nodiscard]] static bool same(const SharedText& a, const SharedText& b) {
    return a.sharesWith(b) || textEquals(a.text(), b.text());
  }
};
}  // namespace settings

/// The content of one document: the JSON sample and every setting that shapes the generated
/// code. `id` and `input` are always present; the nine settings follow the storage convention of
/// options/settings.h (unset until written, read through accessors that supply the defaults).
///
/// The document file is the JSON form of a `Model`: "id" (UUID text, upper case when written,
/// either case when read) and "input" are required; each set setting is written under its
/// underscored key ("_modelName"), unset ones are not written, unknown members are ignored.
class Model {
 public:
  using OutputType = telvar::OutputType;
  using SchemaOptions = telvar::SchemaOptions;
  using SwiftOptions = telvar::SwiftOptions;
  using KotlinOptions = telvar::KotlinOptions;
  using DartOptions = telvar::DartOptions;
  using GoOptions = telvar::GoOptions;
  using ProtoOptions = telvar::ProtoOptions;

  [[nodiscard]] static std::string defaultModelName() { return "Unknown"; }

  /// Unset reads as level 0 with a two-space unit.
  TELVAR_SETTING(Indentation, indentation, Indentation, &Indentation::default_);
  /// The root type's name and the first key of every key path. Only an unset name reads as
  /// "Unknown"; a stored empty text reads as the empty text.
  TELVAR_SETTING(std::string, modelName, ModelName, &defaultModelName);
  /// Unset reads as `swift`.
  TELVAR_SETTING(OutputType, outputType, OutputType, &settings::constant<OutputType::swift>);
  // Unset options read as options records with both fields unset.
  TELVAR_SETTING(SchemaOptions, schemaOptions, SchemaOptions);
  TELVAR_SETTING(SwiftOptions, swiftOptions, SwiftOptions);
  TELVAR_SETTING(KotlinOptions, kotlinOptions, KotlinOptions);
  TELVAR_SETTING(DartOptions, dartOptions, DartOptions);
  TELVAR_SETTING(GoOptions, goOptions, GoOptions);
  TELVAR_SETTING(ProtoOptions, protoOptions, ProtoOptions);

  /// Takes all eleven fields in order, with no defaults: for a new document the caller passes a
  /// fresh `Uuid::random()`, the input, and each setting (or std::nullopt for unset).
  Model(Uuid id, std::string input, std::optional<Indentation> indentation,
        std::optional<std::string> modelName, std::optional<OutputType> outputType,
        std::optional<SchemaOptions> schemaOptions, std::optional<SwiftOptions> swiftOptions,
        std::optional<KotlinOptions> kotlinOptions, std::optional<DartOptions> dartOptions,
        std::optional<GoOptions> goOptions, std::optional<ProtoOptions> protoOptions);

  /// The document's identity, fixed at construction.
  [[nodiscard]] const Uuid& id() const noexcept { return m_id; }
  /// The JSON sample as the user typed it (shared between copies of the model).
  [[nodiscard]] const std::string& input() const noexcept { return m_input.text(); }
  void setInput(std::string input) { m_input = SharedText(std::move(input)); }

  /// The members of the document file, in the order they are written, read and compared.
  static constexpr auto fields() {
    return settings::fieldTable<Model>(
        settings::Field{"id", &Model::m_id}, settings::Field{"input", &Model::m_input},
        &Model::_indentation, &Model::_modelName, &Model::_outputType, &Model::_schemaOptions,
        &Model::_swiftOptions, &Model::_kotlinOptions, &Model::_dartOptions, &Model::_goOptions,
        &Model::_protoOptions);
  }

  /// Equal when all eleven fields are: `id`, `input` (canonically equivalent texts are equal),
  /// then each setting (unset equals only unset). Models of two documents are never equal.
  friend bool operator==(const Model& a, const Model& b) { return settings::equal(a, b); }

 private:
  friend struct settings::Access;
  Model() = default;

  Uuid m_id;
  SharedText m_input;
};

/// Reads a document file's text. Throws `DecodingError` when the text is not JSON (data
/// corrupted) or does not decode as a model (the error names the key and the reason); nothing
/// of a failed read is kept. Running out of memory is reported the same way ("out of memory").
[[nodiscard]] Model modelFromDocumentText(std::string_view text);

/// The compact document file text of `model`. Throws std::invalid_argument when a text of the
/// model is not valid UTF-8 (JSON cannot hold it).
[[nodiscard]] std::string documentText(const Model& model);

}  // namespace telvar
