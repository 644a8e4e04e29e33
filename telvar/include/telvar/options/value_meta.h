#pragma once

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "telvar/options/path_lookup.h"
#include "telvar/options/settings.h"
#include "telvar/options/shared_records.h"
#include "telvar/options/uuid.h"

namespace telvar {

struct IgnoredPropertyTag;
struct DictionaryObjectTag;

/// Object members at this path are removed from the value.
using IgnoredProperty = BasicPathRecord<IgnoredPropertyTag>;
/// Objects at this path are treated as dictionaries.
using DictionaryObject = BasicPathRecord<DictionaryObjectTag>;

/// The options of the value stage, shared by every output type: URL and date detection, ignored,
/// optional and dictionary-treated properties. A settings record (see options/settings.h).
struct ValueMeta {
  struct OptionalPropertyTag;
  /// Object members at this path are made optional.
  using OptionalProperty = BasicPathRecord<OptionalPropertyTag>;

  TELVAR_SETTING(bool, needsDetectURL, NeedsDetectURL);                                   // false
  TELVAR_SETTING(bool, needsDetectISO8601Date, NeedsDetectISO8601Date);                   // false
  TELVAR_SETTING(bool, needsDetectTimeIntervalDate, NeedsDetectTimeIntervalDate);         // false
  TELVAR_SETTING(std::vector<IgnoredProperty>, ignoredProperties, IgnoredProperties);     // empty
  TELVAR_SETTING(std::vector<DictionaryObject>, dictionaryObjects, DictionaryObjects);    // empty
  TELVAR_SETTING(bool, allPropertiesOptional, AllPropertiesOptional);                     // false
  TELVAR_SETTING(std::vector<OptionalProperty>, optionalProperties, OptionalProperties);  // empty

  /// Takes the seven stored fields in order; each may be left unset.
  ValueMeta(std::optional<bool> needsDetectURL = std::nullopt,
            std::optional<bool> needsDetectISO8601Date = std::nullopt,
            std::optional<bool> needsDetectTimeIntervalDate = std::nullopt,
            std::optional<std::vector<IgnoredProperty>> ignoredProperties = std::nullopt,
            std::optional<std::vector<DictionaryObject>> dictionaryObjects = std::nullopt,
            std::optional<bool> allPropertiesOptional = std::nullopt,
            std::optional<std::vector<OptionalProperty>> optionalProperties = std::nullopt)
      : _needsDetectURL(needsDetectURL),
        _needsDetectISO8601Date(needsDetectISO8601Date),
        _needsDetectTimeIntervalDate(needsDetectTimeIntervalDate),
        _ignoredProperties(std::move(ignoredProperties)),
        _dictionaryObjects(std::move(dictionaryObjects)),
        _allPropertiesOptional(allPropertiesOptional),
        _optionalProperties(std::move(optionalProperties)) {}

  static constexpr auto fields() {
    return settings::fieldTable<ValueMeta>(
        &ValueMeta::_needsDetectURL, &ValueMeta::_needsDetectISO8601Date,
        &ValueMeta::_needsDetectTimeIntervalDate, &ValueMeta::_ignoredProperties,
        &ValueMeta::_dictionaryObjects, &ValueMeta::_allPropertiesOptional,
        &ValueMeta::_optionalProperties);
  }
  friend bool operator==(const ValueMeta& a, const ValueMeta& b) { return settings::equal(a, b); }
};

/// True when a record of the list matches the key path (see `recordForPath`). Used for ignored
/// properties, dictionary objects and optional properties.
template <class Tag>
[[nodiscard]] bool containsPath(const std::vector<BasicPathRecord<Tag>>& records, KeyPath keys) {
  return recordForPath(records, keys) != nullptr;
}

}  // namespace telvar
