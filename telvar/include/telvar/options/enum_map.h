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

/// One enum map: the member at a key path becomes an enumeration with the listed cases. The tag
/// keeps the Swift and the Protocol Buffers enum maps distinct types.
/// JSON: {"id": UUID text, "path": text, "cases": [Case]}, all required.
template <class Tag>
class BasicPropertyEnumMap : public BasicPathRecord<Tag> {
 public:
  /// One case of an enum map: `name` is the case name, `value` the raw value as written in the
  /// sample (empty for a case without one).
  /// JSON: {"id": UUID text, "name": text, "value": text}, all required.
  class Case {
   public:
    Case(Uuid id, std::string name, std::string value)
        : m_id(id), m_name(std::move(name)), m_value(std::move(value)) {}

    [[nodiscard]] const Uuid& id() const noexcept { return m_id; }
    [[nodiscard]] const std::string& name() const noexcept { return m_name; }
    [[nodiscard]] const std::string& value() const noexcept { return m_value; }
    void setName(std::string name) { m_name = std::move(name); }
    void setValue(std::string value) { m_value = std::move(value); }

    static constexpr auto fields() {
      return std::tuple{settings::Field{"id", &Case::m_id}, settings::Field{"name", &Case::m_name},
                        settings::Field{"value", &Case::m_value}};
    }
    friend bool operator==(const Case& a, const Case& b) { return settings::equal(a, b); }

   private:
    friend struct settings::Access;
    Case() = default;

    Uuid m_id;
    std::string m_name;
    std::string m_value;
  };

  BasicPropertyEnumMap(Uuid id, std::string path, std::vector<Case> cases)
      : BasicPathRecord<Tag>(id, std::move(path)), m_cases(std::move(cases)) {}

  [[nodiscard]] const std::vector<Case>& cases() const noexcept { return m_cases; }
  void setCases(std::vector<Case> cases) { m_cases = std::move(cases); }

  static constexpr auto fields() {
    return settings::fieldTable<BasicPropertyEnumMap>(
        BasicPathRecord<Tag>::fields(), settings::Field{"cases", &BasicPropertyEnumMap::m_cases});
  }
  friend bool operator==(const BasicPropertyEnumMap& a, const BasicPropertyEnumMap& b) {
    return settings::equal(a, b);
  }

 private:
  friend struct settings::Access;
  BasicPropertyEnumMap() = default;

  std::vector<Case> m_cases;
};

/// The `cases` of the enum map that the key path selects (see `recordForPath`), or nothing.
/// Nothing is distinct from an empty list of cases.
template <class Tag>
[[nodiscard]] std::optional<std::vector<typename BasicPropertyEnumMap<Tag>::Case>> casesForPath(
    const std::vector<BasicPropertyEnumMap<Tag>>& maps, KeyPath keys) {
  const BasicPropertyEnumMap<Tag>* match = recordForPath(maps, keys);
  if (!match) return std::nullopt;
  return match->cases();
}

}  // namespace telvar
