#pragma once

// A compact one-line description of a `Value` for expectations and failure messages: ints as
// digits, doubles as double(shortest digits), texts in quotes as they are, names in <...>.

#include <charconv>
#include <ostream>
#include <string>

#include "telvar/value/value.h"

namespace telvar {

inline std::string describe(const Value& v) {
  auto names = [](const Names& n) {
    std::string s;
    for (const auto& name : n) s += (s.empty() ? "<" : ".") + name;
    return s.empty() ? s : s + "> ";
  };
  auto list = [](auto&& items, auto&& each) {
    std::string s;
    for (const auto& item : items) s += (s.empty() ? "" : ", ") + each(item);
    return s;
  };
  switch (v.kind()) {
    case Value::Kind::bool_:
      return v.boolValue() ? "true" : "false";
    case Value::Kind::number: {
      if (v.numberValue().isInt()) return std::to_string(v.numberValue().intValue());
      char buffer[40];
      auto end = std::to_chars(buffer, buffer + sizeof buffer, v.numberValue().doubleValue()).ptr;
      return "double(" + std::string(buffer, end) + ")";
    }
    case Value::Kind::string:
      return '"' + std::string(v.stringValue()) + '"';
    case Value::Kind::object: {
      const auto& o = v.objectValue();
      return "{" + names(o.names) +
             list(o.orderedKeys(),
                  [&o](const Key& key) {
                    const Value* m = o.dictionary.find(key);
                    return '"' + key.str() + "\": " + (m ? describe(*m) : "<missing>");
                  }) +
             "}";
    }
    case Value::Kind::array:
      return "[" + names(v.arrayValue().names) +
             list(v.arrayValue().values, [](const Value& e) { return describe(e); }) + "]";
    case Value::Kind::null:
      return v.nullInner() ? "null(" + describe(*v.nullInner()) + ")" : "null";
    case Value::Kind::url:
      return "url(" + std::string(v.urlValue()) + ")";
    case Value::Kind::date:
      return v.dateKind() == Value::DateKind::iso8601 ? "date(iso8601)" : "date(interval)";
    case Value::Kind::enum_:
      return "enum(" + names(v.enumValue().names) +
             list(v.enumValue().cases,
                  [](const Value::Case& c) { return c.name + "=" + c.value; }) +
             ")";
    case Value::Kind::dictionary:
      return "dictionary(" + names(v.dictionaryValue().names) +
             describe(*v.dictionaryValue().value) + ")";
    case Value::Kind::empty:
      return "empty";
  }
  return "?";
}

inline void PrintTo(const Value& v, std::ostream* os) { *os << describe(v); }

}  // namespace telvar
