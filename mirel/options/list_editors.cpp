#include "mirel/options/list_editors.h"

#include <QPushButton>

namespace mirel {

using telvar::Acronym;
using telvar::Uuid;

ListEditorFrame::ListEditorFrame(const QString& title, QWidget* parent)
    : QWidget(parent), m_title(title) {
  m_stack = makeStack(this, kDefaultSpacing);
  auto* header = new QHBoxLayout;
  header->setContentsMargins(0, 0, 0, 0);
  header->addWidget(sectionTitle(title, this));
  header->addStretch(1);
  m_add = new SymbolButton(SymbolButton::Symbol::plusCircle, QStringLiteral("Add"), this);
  header->addWidget(m_add);
  m_stack->addLayout(header);
}

ListEditor<telvar::TypeNameMap>* typeNameMapsEditor(Binding<std::vector<telvar::TypeNameMap>> list,
                                                    QWidget* parent) {
  return nameMapsEditor(QStringLiteral("Type Name Maps"), std::move(list), TextFieldKind::big,
                        parent);
}

ListEditor<telvar::PropertyNameMap>* propertyNameMapsEditor(
    Binding<std::vector<telvar::PropertyNameMap>> list, TextFieldKind nameKind, QWidget* parent) {
  return nameMapsEditor(QStringLiteral("Property Name Maps"), std::move(list), nameKind, parent);
}

ListEditor<Acronym>* acronymsEditor(Binding<std::vector<Acronym>> list, QWidget* parent) {
  return textListEditor<Acronym>(
      QStringLiteral("Acronyms"), std::move(list),
      [] { return Acronym(Uuid::random(), std::string()); },
      {RowField<Acronym>{QStringLiteral("Name"), TextFieldKind::small,
                         [](const Acronym& e) { return e.name(); },
                         [](Acronym& e, std::string text) { e.setName(std::move(text)); }}},
      parent);
}

ListEditor<telvar::SwiftMeta::IdentifiableType>* identifiableTypesEditor(
    Binding<std::vector<telvar::SwiftMeta::IdentifiableType>> list, QWidget* parent) {
  using E = telvar::SwiftMeta::IdentifiableType;
  return textListEditor<E>(
      QStringLiteral("Identifiable Types"), std::move(list),
      [] { return E(Uuid::random(), std::string(), "id"); },
      {RowField<E>{QStringLiteral("Path"), TextFieldKind::small,
                   [](const E& e) { return e.path(); },
                   [](E& e, std::string text) { e.setPath(std::move(text)); }},
       RowField<E>{QStringLiteral("Key"), TextFieldKind::big, [](const E& e) { return e.key(); },
                   [](E& e, std::string text) { e.setKey(std::move(text)); }}},
      parent);
}

ListEditor<telvar::IgnoredProperty>* ignoredPropertiesEditor(
    Binding<std::vector<telvar::IgnoredProperty>> list, QWidget* parent) {
  return pathListEditor(QStringLiteral("Ignored Properties"), std::move(list), parent);
}

ListEditor<telvar::DictionaryObject>* dictionaryObjectsEditor(
    Binding<std::vector<telvar::DictionaryObject>> list, QWidget* parent) {
  return pathListEditor(QStringLiteral("Object As Dictionary"), std::move(list), parent);
}

ListEditor<telvar::ValueMeta::OptionalProperty>* optionalPropertiesEditor(
    Binding<std::vector<telvar::ValueMeta::OptionalProperty>> list, QWidget* parent) {
  return pathListEditor(QStringLiteral("Optional Properties"), std::move(list), parent);
}

namespace {

using Map = EnumMapRow::Map;
using Case = EnumMapRow::Case;

Case newCase() { return Case(Uuid::random(), std::string(), std::string()); }

}  // namespace

EnumMapRow::EnumMapRow(const Binding<std::vector<Map>>& maps, const Map& map)
    : m_maps(maps),
      m_map(elementBinding<Map>(
          maps, [this] { return m_index; }, map)),
      m_caseList(m_map.project<std::vector<Case>>(&Map::cases, &Map::setCases)) {
  QVBoxLayout* block = makeStack(this, kRowSpacing);

  auto* pathLine = new QHBoxLayout;
  pathLine->setContentsMargins(0, 0, 0, 0);
  m_path = new BoundLineEdit(QStringLiteral("Path"), TextFieldKind::small, this);
  m_path->onEdited([this](std::string text) {
    Map value = m_map.get();
    value.setPath(std::move(text));
    m_map.set(std::move(value));
  });
  pathLine->addWidget(m_path, 1);
  m_remove = new SymbolButton(SymbolButton::Symbol::minusCircle, QStringLiteral("Remove"), this);
  connect(m_remove, &QToolButton::clicked, this, [this] { removeElement(m_maps, m_index); });
  pathLine->addWidget(m_remove);
  pathLine->addSpacing(kNestedInset);
  block->addLayout(pathLine);

  auto* casesBlock = new QWidget(this);
  QVBoxLayout* casesStack = makeStack(casesBlock, kRowSpacing);
  casesStack->setContentsMargins(kNestedInset, 0, 0, 0);
  std::vector<RowField<Case>> caseFields{
      RowField<Case>{QStringLiteral("Case"), TextFieldKind::small,
                     [](const Case& c) { return c.name(); },
                     [](Case& c, std::string text) { c.setName(std::move(text)); }},
      RowField<Case>{QStringLiteral("Value"), TextFieldKind::small,
                     [](const Case& c) { return c.value(); },
                     [](Case& c, std::string text) { c.setValue(std::move(text)); }}};
  m_cases = new RowsStack<Case>(
      m_caseList,
      [caseFields](RowsStack<Case>& rows, std::size_t, const Case& element) -> ListRow<Case>* {
        return new TextRow<Case>(rows.list(), caseFields, element);
      },
      casesBlock);
  casesStack->addWidget(m_cases);

  auto* addCaseLine = new QHBoxLayout;
  addCaseLine->setContentsMargins(0, 0, 0, 0);
  m_addCase = new AccentTextButton(QStringLiteral("Add Case"), casesBlock);
  connect(m_addCase, &QPushButton::clicked, this, [this] { appendElement(m_caseList, newCase()); });
  addCaseLine->addWidget(m_addCase);
  addCaseLine->addStretch(1);
  casesStack->addLayout(addCaseLine);
  block->addWidget(casesBlock);

  showElement(0, map);
}

void EnumMapRow::showElement(std::size_t index, const Map& map) {
  m_index = index;
  m_id = map.id();
  m_path->showText(map.path());
  m_cases->reload(map.cases());
}

ListEditor<Map>* propertyEnumMapsEditor(Binding<std::vector<Map>> list, QWidget* parent) {
  return new ListEditor<Map>(
      QStringLiteral("Property Enum Maps"), std::move(list),
      [] {
        return Map(Uuid::random(), std::string(), {newCase(), newCase()});
      },
      [](RowsStack<Map>& rows, std::size_t, const Map& map) -> ListRow<Map>* {
        return new EnumMapRow(rows.list(), map);
      },
      parent);
}

}  // namespace mirel
