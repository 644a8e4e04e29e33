#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

#include "telvar/options/dart_meta.h"
#include "telvar/options/go_meta.h"
#include "telvar/options/kotlin_meta.h"
#include "telvar/options/proto_meta.h"
#include "telvar/options/schema_meta.h"
#include "telvar/options/settings.h"
#include "telvar/options/swift_meta.h"
#include "telvar/options/value_meta.h"

namespace telvar {

// The per-output options records pair the value options that every output type shares with the
// output type's own language options. Each is a settings record (see options/settings.h) with
// the JSON form {"_valueMeta": ..., "_<language>Meta": ...}, both members optional; the same
// form stands inside the document and on its own as the stored starting options of an output
// type. `Model` names them `Model::SwiftOptions` and so on.

/// The source language a document generates; stored as its case name ("swift").
enum class OutputType { schema, swift, kotlin, dart, go, proto };

template <>
struct EnumCases<OutputType> {
  static constexpr std::array<std::string_view, 6> names{"schema", "swift", "kotlin",
                                                         "dart",   "go",    "proto"};
};

/// The options of the Schema output. An unset `valueMeta` reads as a `ValueMeta` with every field
/// unset. An unset `schemaMeta` reads as a `SchemaMeta` whose fields are all unset.
struct SchemaOptions {
  settings::Setting<ValueMeta> _valueMeta;
  settings::Setting<SchemaMeta> _schemaMeta;

  /// Takes the value options, then the language options; each may be left unset.
  SchemaOptions(std::optional<ValueMeta> valueMeta = std::nullopt,
                std::optional<SchemaMeta> schemaMeta = std::nullopt)
      : _valueMeta(std::move(valueMeta)), _schemaMeta(std::move(schemaMeta)) {}

  [[nodiscard]] ValueMeta valueMeta() const { return _valueMeta.read(); }
  void setValueMeta(ValueMeta value) { _valueMeta = std::move(value); }
  /// Changes the value options in place (starting from the default when unset) and stores them.
  template <class F>
  void editValueMeta(F&& change) {
    _valueMeta.edit(std::forward<F>(change));
  }
  [[nodiscard]] SchemaMeta schemaMeta() const { return _schemaMeta.read(); }
  void setSchemaMeta(SchemaMeta value) { _schemaMeta = std::move(value); }
  /// Changes the language options in place (starting from the default when unset) and stores
  /// them.
  template <class F>
  void editSchemaMeta(F&& change) {
    _schemaMeta.edit(std::forward<F>(change));
  }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_valueMeta", &SchemaOptions::_valueMeta},
                      settings::Field{"_schemaMeta", &SchemaOptions::_schemaMeta}};
  }
  friend bool operator==(const SchemaOptions& a, const SchemaOptions& b) {
    return settings::equal(a, b);
  }
};

/// The options of the Swift output. An unset `valueMeta` reads as a `ValueMeta` with every field
/// unset. An unset `swiftMeta` reads as `defaultSwiftMeta()`.
struct SwiftOptions {
  /// The value an unset `swiftMeta` reads as: every field unset but `_needsInitializer`, which
  /// is set to false; an in-place change of an unset meta therefore stores it too.
  [[nodiscard]] static SwiftMeta defaultSwiftMeta();

  settings::Setting<ValueMeta> _valueMeta;
  settings::Setting<SwiftMeta, &defaultSwiftMeta> _swiftMeta;

  /// Takes the value options, then the language options; each may be left unset.
  SwiftOptions(std::optional<ValueMeta> valueMeta = std::nullopt,
               std::optional<SwiftMeta> swiftMeta = std::nullopt)
      : _valueMeta(std::move(valueMeta)), _swiftMeta(std::move(swiftMeta)) {}

  [[nodiscard]] ValueMeta valueMeta() const { return _valueMeta.read(); }
  void setValueMeta(ValueMeta value) { _valueMeta = std::move(value); }
  /// Changes the value options in place (starting from the default when unset) and stores them.
  template <class F>
  void editValueMeta(F&& change) {
    _valueMeta.edit(std::forward<F>(change));
  }
  [[nodiscard]] SwiftMeta swiftMeta() const { return _swiftMeta.read(); }
  void setSwiftMeta(SwiftMeta value) { _swiftMeta = std::move(value); }
  /// Changes the language options in place (starting from the default when unset) and stores
  /// them.
  template <class F>
  void editSwiftMeta(F&& change) {
    _swiftMeta.edit(std::forward<F>(change));
  }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_valueMeta", &SwiftOptions::_valueMeta},
                      settings::Field{"_swiftMeta", &SwiftOptions::_swiftMeta}};
  }
  friend bool operator==(const SwiftOptions& a, const SwiftOptions& b) {
    return settings::equal(a, b);
  }
};

/// The options of the Kotlin output. An unset `valueMeta` reads as a `ValueMeta` with every field
/// unset. An unset `kotlinMeta` reads as a `KotlinMeta` whose fields are all unset.
struct KotlinOptions {
  settings::Setting<ValueMeta> _valueMeta;
  settings::Setting<KotlinMeta> _kotlinMeta;

  /// Takes the value options, then the language options; each may be left unset.
  KotlinOptions(std::optional<ValueMeta> valueMeta = std::nullopt,
                std::optional<KotlinMeta> kotlinMeta = std::nullopt)
      : _valueMeta(std::move(valueMeta)), _kotlinMeta(std::move(kotlinMeta)) {}

  [[nodiscard]] ValueMeta valueMeta() const { return _valueMeta.read(); }
  void setValueMeta(ValueMeta value) { _valueMeta = std::move(value); }
  /// Changes the value options in place (starting from the default when unset) and stores them.
  template <class F>
  void editValueMeta(F&& change) {
    _valueMeta.edit(std::forward<F>(change));
  }
  [[nodiscard]] KotlinMeta kotlinMeta() const { return _kotlinMeta.read(); }
  void setKotlinMeta(KotlinMeta value) { _kotlinMeta = std::move(value); }
  /// Changes the language options in place (starting from the default when unset) and stores
  /// them.
  template <class F>
  void editKotlinMeta(F&& change) {
    _kotlinMeta.edit(std::forward<F>(change));
  }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_valueMeta", &KotlinOptions::_valueMeta},
                      settings::Field{"_kotlinMeta", &KotlinOptions::_kotlinMeta}};
  }
  friend bool operator==(const KotlinOptions& a, const KotlinOptions& b) {
    return settings::equal(a, b);
  }
};

/// The options of the Dart output. An unset `valueMeta` reads as a `ValueMeta` with every field
/// unset. An unset `dartMeta` reads as a `DartMeta` whose fields are all unset.
struct DartOptions {
  settings::Setting<ValueMeta> _valueMeta;
  settings::Setting<DartMeta> _dartMeta;

  /// Takes the value options, then the language options; each may be left unset.
  DartOptions(std::optional<ValueMeta> valueMeta = std::nullopt,
              std::optional<DartMeta> dartMeta = std::nullopt)
      : _valueMeta(std::move(valueMeta)), _dartMeta(std::move(dartMeta)) {}

  [[nodiscard]] ValueMeta valueMeta() const { return _valueMeta.read(); }
  void setValueMeta(ValueMeta value) { _valueMeta = std::move(value); }
  /// Changes the value options in place (starting from the default when unset) and stores them.
  template <class F>
  void editValueMeta(F&& change) {
    _valueMeta.edit(std::forward<F>(change));
  }
  [[nodiscard]] DartMeta dartMeta() const { return _dartMeta.read(); }
  void setDartMeta(DartMeta value) { _dartMeta = std::move(value); }
  /// Changes the language options in place (starting from the default when unset) and stores
  /// them.
  template <class F>
  void editDartMeta(F&& change) {
    _dartMeta.edit(std::forward<F>(change));
  }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_valueMeta", &DartOptions::_valueMeta},
                      settings::Field{"_dartMeta", &DartOptions::_dartMeta}};
  }
  friend bool operator==(const DartOptions& a, const DartOptions& b) {
    return settings::equal(a, b);
  }
};

/// The options of the Go output. An unset `valueMeta` reads as a `ValueMeta` with every field
/// unset. An unset `goMeta` reads as a `GoMeta` whose fields are all unset.
struct GoOptions {
  settings::Setting<ValueMeta> _valueMeta;
  settings::Setting<GoMeta> _goMeta;

  /// Takes the value options, then the language options; each may be left unset.
  GoOptions(std::optional<ValueMeta> valueMeta = std::nullopt,
            std::optional<GoMeta> goMeta = std::nullopt)
      : _valueMeta(std::move(valueMeta)), _goMeta(std::move(goMeta)) {}

  [[nodiscard]] ValueMeta valueMeta() const { return _valueMeta.read(); }
  void setValueMeta(ValueMeta value) { _valueMeta = std::move(value); }
  /// Changes the value options in place (starting from the default when unset) and stores them.
  template <class F>
  void editValueMeta(F&& change) {
    _valueMeta.edit(std::forward<F>(change));
  }
  [[nodiscard]] GoMeta goMeta() const { return _goMeta.read(); }
  void setGoMeta(GoMeta value) { _goMeta = std::move(value); }
  /// Changes the language options in place (starting from the default when unset) and stores
  /// them.
  template <class F>
  void editGoMeta(F&& change) {
    _goMeta.edit(std::forward<F>(change));
  }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_valueMeta", &GoOptions::_valueMeta},
                      settings::Field{"_goMeta", &GoOptions::_goMeta}};
  }
  friend bool operator==(const GoOptions& a, const GoOptions& b) { return settings::equal(a, b); }
};

/// The options of the Proto output. An unset `valueMeta` reads as a `ValueMeta` with every field
/// unset. An unset `protoMeta` reads as a `ProtoMeta` whose fields are all unset.
struct ProtoOptions {
  settings::Setting<ValueMeta> _valueMeta;
  settings::Setting<ProtoMeta> _protoMeta;

  /// Takes the value options, then the language options; each may be left unset.
  ProtoOptions(std::optional<ValueMeta> valueMeta = std::nullopt,
               std::optional<ProtoMeta> protoMeta = std::nullopt)
      : _valueMeta(std::move(valueMeta)), _protoMeta(std::move(protoMeta)) {}

  [[nodiscard]] ValueMeta valueMeta() const { return _valueMeta.read(); }
  void setValueMeta(ValueMeta value) { _valueMeta = std::move(value); }
  /// Changes the value options in place (starting from the default when unset) and stores them.
  template <class F>
  void editValueMeta(F&& change) {
    _valueMeta.edit(std::forward<F>(change));
  }
  [[nodiscard]] ProtoMeta protoMeta() const { return _protoMeta.read(); }
  void setProtoMeta(ProtoMeta value) { _protoMeta = std::move(value); }
  /// Changes the language options in place (starting from the default when unset) and stores
  /// them.
  template <class F>
  void editProtoMeta(F&& change) {
    _protoMeta.edit(std::forward<F>(change));
  }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_valueMeta", &ProtoOptions::_valueMeta},
                      settings::Field{"_protoMeta", &ProtoOptions::_protoMeta}};
  }
  friend bool operator==(const ProtoOptions& a, const ProtoOptions& b) {
    return settings::equal(a, b);
  }
};

}  // namespace telvar
