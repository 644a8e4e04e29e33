#include "telvar/generate/dart/dart_renderers.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace telvar::generate {
namespace {

using PT = PropertyType;

PT int_() { return PT::primitive(Primitive::int_()); }
PT any() { return PT::primitive(Primitive::any()); }
PT nullable(PT t) { return PT::optional(std::move(t)); }
PT nullOnly() { return PT::optional(std::nullopt); }
PT list(PT t) { return PT::array(std::move(t)); }

Names memberPath(std::string key) { return {"Unknown", std::move(key)}; }

Object objectAt(std::string key,
                std::vector<Property> properties = {{{"Unknown", "k", "n"}, int_()}}) {
  return Object{memberPath(std::move(key)), std::move(properties)};
}

Property member(std::string key, PT type) { return Property{memberPath(std::move(key)), type}; }

DartMeta mapped(std::string key, std::string name) {
  DartMeta meta;
  meta.setTypeNameMaps({TypeNameMap(Uuid::random(), std::move(key), std::move(name))});
  return meta;
}

TEST(DartBaseType, WritesDynamicForNothingKnownAndNullForOnlyNull) {
  const DartMeta meta;
  EXPECT_EQ(dartBaseType(any(), meta), "dynamic");
  EXPECT_EQ(dartBaseType(list(any()), meta), "List<dynamic>");
  EXPECT_EQ(dartBaseType(nullable(any()), meta), "dynamic?");
  EXPECT_EQ(dartBaseType(nullOnly(), meta), "Null");
  EXPECT_EQ(dartBaseType(list(nullOnly()), meta), "List<Null>");
  EXPECT_EQ(dartBaseType(list(nullable(list(int_()))), meta), "List<List<int>?>");
  EXPECT_EQ(
      dartBaseType(PT::primitive(Primitive::date(Value::DateKind::timeIntervalSince1970)), meta),
      "Date");
  EXPECT_EQ(dartBaseType(nullable(PT::object(objectAt("items"))), meta), "Item?");
}

TEST(DartType, PutsAMappedNameInPlaceOfTheInnermostType) {
  const DartMeta meta = mapped("grid", "Matrix");
  EXPECT_EQ(dartType(member("grid", list(list(int_()))), meta), "List<Matrix>");
  EXPECT_EQ(dartType(member("grid", list(nullable(int_()))), meta), "List<Matrix?>");
  EXPECT_EQ(dartType(member("grid", nullable(list(list(int_())))), meta), "List<Matrix>?");
  EXPECT_EQ(dartType(member("grid", nullOnly()), meta), "Matrix?");
  EXPECT_EQ(dartType(member("grid", int_()), meta), "Matrix");
  EXPECT_EQ(dartType(member("grid", PT::dictionary(int_())), meta), "");
  EXPECT_EQ(dartType(member("other", int_()), meta), "int");
}

TEST(DartFromJSON, KeepsAMappedPrimitivesReadingAndWriting) {
  const DartMeta meta = mapped("created", "DateTime");
  const Property p = member("created", PT::primitive(Primitive::string()));
  EXPECT_EQ(dartFromJSON(p, 2, Indentation{}, meta), "    created: json[\"created\"],");
  EXPECT_EQ(dartToJSON(p, 2, Indentation{}, meta), "    \"created\": created,");
}

TEST(DartFromJSON, NamesNestedListsFromTheirInnermostTypeDespiteAMap) {
  const DartMeta meta = mapped("grid", "Matrix");
  EXPECT_EQ(dartFromJSON(member("grid", list(list(int_()))), 0, Indentation{}, meta),
            "grid: List<List<int>>.from(json[\"grid\"].map((x) => List<int>.from(x.map((x) => "
            "x)))),");
}

TEST(DartFromJSON, ConvertsEveryLevelOfAnOptionalListOfLists) {
  const DartMeta meta;
  const Property p = member("m", nullable(list(list(PT::object(objectAt("m"))))));
  EXPECT_EQ(dartFromJSON(p, 0, Indentation{}, meta),
            "m: json[\"m\"] == null ? null : List<List<M>>.from(json[\"m\"].map((x) => "
            "List<M>.from(x.map((x) => M.fromJSON(x))))),");
  EXPECT_EQ(dartToJSON(p, 0, Indentation{}, meta),
            "\"m\": m == null ? null : List<dynamic>.from(m!.map((x) => "
            "List<dynamic>.from(x.map((x) => x.toJSON())))),");
}

TEST(DartCopyWith, AddsTheQuestionMarkOnlyToTypesThatAreNotNullable) {
  const DartMeta meta;
  std::vector<std::string> lines;
  dartCopyWithParameter(member("a", int_()), meta, "  ", lines);
  dartCopyWithParameter(member("b", nullable(int_())), meta, "  ", lines);
  dartCopyWithParameter(member("c", nullOnly()), meta, "  ", lines);
  dartCopyWithParameter(member("d", any()), meta, "  ", lines);
  dartCopyWithArgument(member("a", int_()), meta, "  ", lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"  int? a,", "  int? b,", "  Null c,", "  dynamic d,",
                                             "  a: a ?? this.a,"}));
}

TEST(DartRendered, GivesADeclarationOnlyForObjectsAndProperties) {
  const DartMeta meta;
  const Indentation level1{1, "\t"};
  EXPECT_EQ(dartRendered(Code::property(member("a", int_())), meta, level1), "\tint a;");
  EXPECT_FALSE(dartRendered(Code::dictionary(Dictionary{memberPath("d"), int_()}), meta, level1));
  EXPECT_FALSE(dartRendered(Code::propertyType(list(list(int_()))), meta, level1));
  EXPECT_FALSE(dartRendered(Code::propertyType(nullOnly()), meta, level1));
  const auto nested =
      dartRendered(Code::propertyType(list(nullable(PT::object(objectAt("items"))))), meta, level1);
  ASSERT_TRUE(nested);
  EXPECT_EQ(nested->substr(0, 13), "\tclass Item {");
}

TEST(DartClass, RenamesMembersNamedLikeTheClassOrATypeItRefersTo) {
  DartMeta meta;
  meta.setNeedsFromJSON(false);
  meta.setNeedsToJSON(false);
  meta.setPropertyNameMaps({PropertyNameMap(Uuid::random(), "item", "Item"),
                            PropertyNameMap(Uuid::random(), "self", "Unknown")});
  const Object object{{"Unknown"},
                      {member("item", PT::object(objectAt("item"))), member("self", int_()),
                       member("name", int_())}};
  EXPECT_EQ(dartClass(object, meta, Indentation{}),
            "class Unknown {\n"
            "  Item Item_;\n"
            "  int Unknown_;\n"
            "  int name;\n"
            "\n"
            "  Unknown({\n"
            "    required this.Item_,\n"
            "    required this.Unknown_,\n"
            "    required this.name,\n"
            "  });\n"
            "}");
}

TEST(DartClass, KeepsEachMembersKeyAndTypeWithItsNameWhenSorted) {
  DartMeta meta;
  meta.setPropertySortMethod(PropertySortMethod::alphabet);
  meta.setNeedsCopyWith(false);
  const Object object{{"Unknown"},
                      {member("z\"q", nullable(list(int_()))), member("m$", nullOnly()),
                       member("a", PT::object(objectAt("a")))}};
  const std::string text = dartClass(object, meta, Indentation{});
  const auto from = text.find("  factory");
  ASSERT_NE(from, std::string::npos);
  EXPECT_EQ(text.substr(0, text.find("\n\n")),
            "class Unknown {\n  A a;\n  Null m$;\n  List<int>? zQ;");
  EXPECT_EQ(
      text.substr(from),
      "  factory Unknown.fromJSON(Map<String, dynamic> json) => Unknown(\n"
      "    a: A.fromJSON(json[\"a\"]),\n"
      "    m$: json[\"m\\$\"],\n"
      "    zQ: json[\"z\\\"q\"] == null ? null : List<int>.from(json[\"z\\\"q\"].map((x) => x)),\n"
      "  );\n"
      "\n"
      "  Map<String, dynamic> toJSON() => {\n"
      "    \"a\": a.toJSON(),\n"
      "    \"m\\$\": m$,\n"
      "    \"z\\\"q\": zQ == null ? null : List<dynamic>.from(zQ!.map((x) => x)),\n"
      "  };\n"
      "}");
}

}  // namespace
}  // namespace telvar::generate
