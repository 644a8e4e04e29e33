#pragma once

// Readable failure messages for `Value`: GoogleTest finds `PrintTo` by argument-dependent lookup.

#include <ostream>
#include <string>

#include "telvar/value/value.h"

namespace telvar {

inline void describe(const Value& v, std::ostream& os) {
  auto names = [&os](const Names& n) {
    if (n.empty()) return;
    os << '<';
    for (std::size_t i = 0; i < n.size(); ++i) os << (i ? "." : "") << n[i];
    os << "> ";
  };
  switch (v.kind()) {
    case Value::Kind::bool_:
      os << (v.boolValue() ? "true" : "false");
      break;
    case Value::Kind::number:
      if (v.numberValue().isInt()) {
        os << "int " << v.numberValue().intValue();
      } else {
        os << "double " << v.numberValue().doubleValue();
      }
      break;
    case Value::Kind::string:
      os << '"' << v.stringValue() << '"';
      break;
    case Value::Kind::object: {
      const auto& o = v.objectValue();
      os << '{';
      names(o.names);
      for (const auto& key : o.orderedKeys) {
        os << '"' << key << "\": ";
        if (const Value* m = o.dictionary.find(key)) {
          describe(*m, os);
        } else {
          os << "<missing>";
        }
        os << ", ";
      }
      os << '}';
      break;
    }
    case Value::Kind::array:
      os << '[';
      names(v.arrayValue().names);
      for (const auto& e : v.arrayValue().values) {
        describe(e, os);
        os << ", ";
      }
      os << ']';
      break;
    case Value::Kind::null:
      os << "null(";
      if (const Value* inner = v.nullInner()) describe(*inner, os);
      os << ')';
      break;
    case Value::Kind::url:
      os << "url " << v.urlValue().text;
      break;
    case Value::Kind::date:
      os << "date " << static_cast<int>(v.dateKind());
      break;
    case Value::Kind::enum_:
      os << "enum(";
      names(v.enumValue().names);
      for (const auto& c : v.enumValue().cases) os << c.name << '=' << c.value << ", ";
      os << ')';
      break;
    case Value::Kind::dictionary:
      os << "dictionary(";
      names(v.dictionaryValue().names);
      describe(*v.dictionaryValue().value, os);
      os << ')';
      break;
    case Value::Kind::empty:
      os << "empty";
      break;
  }
}

inline void PrintTo(const Value& v, std::ostream* os) { describe(v, *os); }

}  // namespace telvar
