#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "telvar/options/path_lookup.h"
#include "telvar/options/settings.h"
#include "telvar/options/uuid.h"

namespace telvar {

/// The order of properties: `default_` keeps the sample's key order, `alphabet` sorts them.
enum class PropertySortMethod { default_, alphabet };

template <>
struct EnumCases<PropertySortMethod> {
  static constexpr std::array<std::string_view, 2> names{"default", "alphabet"};
};

/// A word that property names write in capitals ("ID"). Identified by `id` in an edited list;
/// two acronyms with the same name but different identifiers differ.
/// JSON: {"id": UUID text, "name": text}, both required.
class Acronym {
 public:
  Acronym(Uuid id, std::string name) : m_id(id), m_name(std::move(name)) {}

  [[nodiscard]] const Uuid& id() const noexcept { return m_id; }
  [[nodiscard]] const std::string& name() const noexcept { return m_name; }
  void setName(std::string name) { m_name = std::move(name); }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"id", &Acronym::m_id},
                      settings::Field{"name", &Acronym::m_name}};
  }
  friend bool operator==(const Acronym& a, const Acronym& b) { return settings::equal(a, b); }

 private:
  friend struct settings::Access;
  Acronym() = default;

  Uuid m_id;
  std::string m_name;
};

/// The default acronyms of a language options record: "ID" then "URL", each with a fresh random
/// identifier, so two calls give lists equal in names but not equal as records.
[[nodiscard]] std::vector<Acronym> defaultAcronyms();

/// A record that selects the members or objects at a key path: `path` is JSON keys joined with
/// "." (a whole path or a trailing part of one). The tag keeps the uses distinct types; the
/// records that name something at the path, or list its cases, build on it.
/// JSON: {"id": UUID text, "path": text}, both required.
template <class Tag>
class BasicPathRecord {
 public:
  BasicPathRecord(Uuid id, std::string path) : m_id(id), m_path(std::move(path)) {}

  [[nodiscard]] const Uuid& id() const noexcept { return m_id; }
  [[nodiscard]] const std::string& path() const noexcept { return m_path; }
  void setPath(std::string path) { m_path = std::move(path); }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"id", &BasicPathRecord::m_id},
                      settings::Field{"path", &BasicPathRecord::m_path}};
  }
  friend bool operator==(const BasicPathRecord& a, const BasicPathRecord& b) {
    return settings::equal(a, b);
  }

 protected:
  friend struct settings::Access;
  BasicPathRecord() = default;

 private:
  Uuid m_id;
  std::string m_path;
};

/// A record naming something at a key path (see `BasicPathRecord`): `name` is the name to use
/// there, verbatim. The tag keeps type-name maps and property-name maps distinct types.
/// JSON: {"id": UUID text, "path": text, "name": text}, all required.
template <class Tag>
class BasicNameMap : public BasicPathRecord<Tag> {
 public:
  BasicNameMap(Uuid id, std::string path, std::string name)
      : BasicPathRecord<Tag>(id, std::move(path)), m_name(std::move(name)) {}

  [[nodiscard]] const std::string& name() const noexcept { return m_name; }
  void setName(std::string name) { m_name = std::move(name); }

  static constexpr auto fields() {
    return settings::fieldTable<BasicNameMap>(BasicPathRecord<Tag>::fields(),
                                              settings::Field{"name", &BasicNameMap::m_name});
  }
  friend bool operator==(const BasicNameMap& a, const BasicNameMap& b) {
    return settings::equal(a, b);
  }

 private:
  friend struct settings::Access;
  BasicNameMap() = default;

  std::string m_name;
};

struct TypeNameMapTag;
struct PropertyNameMapTag;

/// The type name chosen for the object at a key path.
using TypeNameMap = BasicNameMap<TypeNameMapTag>;
/// The property name chosen for the member at a key path.
using PropertyNameMap = BasicNameMap<PropertyNameMapTag>;

/// The `name` of the map that the key path selects (see `recordForPath`), or nothing. Nothing is
/// distinct from an empty name.
template <class Tag>
[[nodiscard]] std::optional<std::string> nameForPath(const std::vector<BasicNameMap<Tag>>& maps,
                                                     KeyPath keys) {
  const BasicNameMap<Tag>* match = recordForPath(maps, keys);
  if (!match) return std::nullopt;
  return match->name();
}

}  // namespace telvar
