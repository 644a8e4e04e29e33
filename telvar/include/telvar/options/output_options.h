#pragma once

#include <array>
#include <concepts>
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

/// The member that holds a language's own options inside its options record, under the
/// language's name: `_swiftMeta` with `swiftMeta()`, `setSwiftMeta(...)` and `editSwiftMeta(...)`
/// for Swift, and so on. `member()` points at it, for the record's field table.
template <class Meta>
struct LanguageMember;

// One line per language: the member and its accessors carry the language's name.
#define TELVAR_LANGUAGE_MEMBER(Meta, name, Name, ...)                   \
  template <>                                                           \
  struct LanguageMember<Meta> {                                         \
    TELVAR_SETTING(Meta, name, Name __VA_OPT__(, ) __VA_ARGS__);        \
    static constexpr auto member() { return &LanguageMember::_##name; } \
  }

/// The value an unset `swiftMeta` reads as: every field unset but `_needsInitializer`, which is
/// set to false; an in-place change of an unset meta therefore stores it too.
[[nodiscard]] SwiftMeta defaultSwiftMeta();

TELVAR_LANGUAGE_MEMBER(SchemaMeta, schemaMeta, SchemaMeta);
TELVAR_LANGUAGE_MEMBER(SwiftMeta, swiftMeta, SwiftMeta, &defaultSwiftMeta);
TELVAR_LANGUAGE_MEMBER(KotlinMeta, kotlinMeta, KotlinMeta);
TELVAR_LANGUAGE_MEMBER(DartMeta, dartMeta, DartMeta);
TELVAR_LANGUAGE_MEMBER(GoMeta, goMeta, GoMeta);
TELVAR_LANGUAGE_MEMBER(ProtoMeta, protoMeta, ProtoMeta);

#undef TELVAR_LANGUAGE_MEMBER

/// The options of one output type: the value options (`_valueMeta`, read by `valueMeta()`) and
/// the language options of `Meta` (see `LanguageMember`). An unset `valueMeta` reads as a
/// `ValueMeta` with every field unset; an unset language meta reads as one with every field
/// unset, except Swift's, which reads as `defaultSwiftMeta()`.
template <class Meta>
struct OutputOptions : LanguageMember<Meta> {
  /// The value an unset Swift meta reads as (see `telvar::defaultSwiftMeta`).
  [[nodiscard]] static SwiftMeta defaultSwiftMeta() requires std::same_as<Meta, SwiftMeta> {
    return telvar::defaultSwiftMeta();
  }

  TELVAR_SETTING(ValueMeta, valueMeta, ValueMeta);

  /// Takes the value options, then the language options; each may be left unset.
  OutputOptions(std::optional<ValueMeta> valueMeta = std::nullopt,
                std::optional<Meta> languageMeta = std::nullopt)
      : LanguageMember<Meta>{std::move(languageMeta)}, _valueMeta(std::move(valueMeta)) {}

  static constexpr auto fields() {
    return settings::fieldTable<OutputOptions>(&OutputOptions::_valueMeta,
                                               LanguageMember<Meta>::member());
  }
  friend bool operator==(const OutputOptions& a, const OutputOptions& b) {
    return settings::equal(a, b);
  }
};

using SchemaOptions = OutputOptions<SchemaMeta>;
using SwiftOptions = OutputOptions<SwiftMeta>;
using KotlinOptions = OutputOptions<KotlinMeta>;
using DartOptions = OutputOptions<DartMeta>;
using GoOptions = OutputOptions<GoMeta>;
using ProtoOptions = OutputOptions<ProtoMeta>;

}  // namespace telvar
