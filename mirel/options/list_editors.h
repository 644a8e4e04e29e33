#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include "mirel/options/binding.h"
#include "mirel/options/form_blocks.h"
#include "telvar/options/shared_records.h"
#include "telvar/options/swift_meta.h"
#include "telvar/options/uuid.h"
#include "telvar/options/value_meta.h"

class QAbstractButton;
class QPushButton;

namespace mirel {

/// One row of a list editor: shows the element at a position of the list. The row is matched to
/// its element by the element's `id` and carries the position it was last shown at; its writes go
/// through the list's binding at that position.
template <class E>
class ListRow : public QWidget {
 public:
  using QWidget::QWidget;
  /// Shows `element`, now at `index` of the list.
  virtual void showElement(std::size_t index, const E& element) = 0;
  [[nodiscard]] std::size_t index() const { return m_index; }
  [[nodiscard]] const telvar::Uuid& elementId() const { return m_id; }
  /// The button that removes this row's element.
  [[nodiscard]] virtual QAbstractButton* removeButton() const = 0;

 protected:
  std::size_t m_index = 0;
  telvar::Uuid m_id;
};

/// The rows of one list, a vertical stack with spacing 8: one row per element, in list order.
///
/// `reload()` reads the list once. A row whose element `id` is still in the list stays (moved to
/// the element's new position); an element with an `id` not seen before takes over the row left
/// without element at its own position, if any, so that a list whose identifiers are made afresh
/// at every read (the default acronyms of an unset list) keeps its rows, and with them the focus
/// and caret of the field being typed into; any other new element gets a new row. Rows whose
/// element left the list are removed after the current event, since one of their own buttons may
/// be what removed it.
template <class E>
class RowsStack : public QWidget {
 public:
  using Factory = std::function<ListRow<E>*(RowsStack<E>& rows, std::size_t index, const E&)>;

  RowsStack(Binding<std::vector<E>> list, Factory make, QWidget* parent = nullptr)
      : QWidget(parent), m_list(std::move(list)), m_make(std::move(make)) {
    m_stack = makeStack(this, kRowSpacing);
  }

  [[nodiscard]] const Binding<std::vector<E>>& list() const { return m_list; }
  [[nodiscard]] const std::vector<ListRow<E>*>& rows() const { return m_rows; }

  void reload() { reload(m_list.get()); }

  void reload(const std::vector<E>& elements) {
    const std::size_t count = elements.size();
    std::vector<ListRow<E>*> next(count, nullptr);
    std::vector<bool> taken(m_rows.size(), false);
    // Rows whose element is still there, by id (a map, so that long lists stay cheap).
    std::map<telvar::Uuid, std::size_t> rowById;
    for (std::size_t r = m_rows.size(); r-- > 0;) rowById[m_rows[r]->elementId()] = r;
    for (std::size_t i = 0; i < count; ++i) {
      auto found = rowById.find(elements[i].id());
      if (found != rowById.end() && !taken[found->second]) {
        next[i] = m_rows[found->second];
        taken[found->second] = true;
      }
    }
    // New identifiers take over the row left free at their position.
    for (std::size_t i = 0; i < count && i < m_rows.size(); ++i) {
      if (!next[i] && !taken[i]) {
        next[i] = m_rows[i];
        taken[i] = true;
      }
    }
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
      if (taken[r]) continue;
      ListRow<E>* gone = m_rows[r];
      m_stack->removeWidget(gone);
      gone->hide();
      gone->setParent(nullptr);
      gone->deleteLater();
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (!next[i]) {
        next[i] = m_make(*this, i, elements[i]);
        next[i]->setParent(this);
      }
      const int position = static_cast<int>(i);
      QLayoutItem* there = m_stack->itemAt(position);
      if (!there || there->widget() != next[i]) {
        m_stack->removeWidget(next[i]);
        m_stack->insertWidget(position, next[i]);
      }
      next[i]->showElement(i, elements[i]);
      if (next[i]->isHidden()) next[i]->show();
    }
    m_rows = std::move(next);
    setVisible(count > 0);
  }

 private:
  Binding<std::vector<E>> m_list;
  Factory m_make;
  QVBoxLayout* m_stack;
  std::vector<ListRow<E>*> m_rows;
};

/// One text field of a plain row: placeholder, look, and how it reads and writes the element.
template <class E>
struct RowField {
  QString placeholder;
  TextFieldKind kind;
  std::function<std::string(const E&)> read;
  std::function<void(E&, std::string)> write;
};

/// A plain row: its text fields in order (placeholders only), then the remove button.
template <class E>
class TextRow : public ListRow<E> {
 public:
  TextRow(const Binding<std::vector<E>>& list, std::vector<RowField<E>> fields, const E& element)
      : m_list(list),
        m_element(elementBinding<E>(
            list, [this] { return this->m_index; }, element)),
        m_fields(std::move(fields)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (std::size_t f = 0; f < m_fields.size(); ++f) {
      auto* edit = new BoundLineEdit(m_fields[f].placeholder, m_fields[f].kind, this);
      edit->onEdited([this, f](std::string text) {
        E value = m_element.get();
        m_fields[f].write(value, std::move(text));
        m_element.set(std::move(value));
      });
      row->addWidget(edit, 1);
      m_edits.push_back(edit);
    }
    m_remove = new SymbolButton(SymbolButton::Symbol::minusCircle, QStringLiteral("Remove"), this);
    QObject::connect(m_remove, &QToolButton::clicked, this,
                     [this] { removeElement(m_list, this->m_index); });
    row->addWidget(m_remove);
  }

  void showElement(std::size_t index, const E& element) override {
    this->m_index = index;
    this->m_id = element.id();
    for (std::size_t f = 0; f < m_fields.size(); ++f)
      m_edits[f]->showText(m_fields[f].read(element));
  }

  [[nodiscard]] const std::vector<BoundLineEdit*>& edits() const { return m_edits; }
  [[nodiscard]] QAbstractButton* removeButton() const override { return m_remove; }

 private:
  Binding<std::vector<E>> m_list;
  Binding<E> m_element;
  std::vector<RowField<E>> m_fields;
  std::vector<BoundLineEdit*> m_edits;
  SymbolButton* m_remove;
};

/// The frame of a list editor: a header (bold title, space, "Add") above the rows.
class ListEditorFrame : public QWidget {
  Q_OBJECT
 public:
  ListEditorFrame(const QString& title, QWidget* parent = nullptr);
  [[nodiscard]] SymbolButton* addButton() const { return m_add; }
  [[nodiscard]] const QString& title() const { return m_title; }
  virtual void reload() = 0;
  /// The remove buttons of the rows, in list order.
  [[nodiscard]] virtual QList<QAbstractButton*> removeButtons() const = 0;

 protected:
  QVBoxLayout* m_stack;

 private:
  QString m_title;
  SymbolButton* m_add;
};

/// A list editor over one bound list: "Add" appends `make()`; rows come from `rowFactory`.
template <class E>
class ListEditor : public ListEditorFrame {
 public:
  ListEditor(const QString& title, Binding<std::vector<E>> list, std::function<E()> make,
             typename RowsStack<E>::Factory rowFactory, QWidget* parent = nullptr)
      : ListEditorFrame(title, parent), m_list(list), m_make(std::move(make)) {
    m_rows = new RowsStack<E>(std::move(list), std::move(rowFactory), this);
    m_stack->addWidget(m_rows);
    QObject::connect(addButton(), &QToolButton::clicked, this,
                     [this] { appendElement(m_list, m_make()); });
    reload();
  }

  void reload() override { m_rows->reload(); }
  [[nodiscard]] RowsStack<E>* rows() const { return m_rows; }
  [[nodiscard]] QList<QAbstractButton*> removeButtons() const override {
    QList<QAbstractButton*> buttons;
    for (ListRow<E>* row : m_rows->rows()) buttons << row->removeButton();
    return buttons;
  }

 private:
  Binding<std::vector<E>> m_list;
  std::function<E()> m_make;
  RowsStack<E>* m_rows;
};

/// A list editor whose rows are plain text rows with `fields`.
template <class E>
[[nodiscard]] ListEditor<E>* textListEditor(const QString& title, Binding<std::vector<E>> list,
                                            std::function<E()> make,
                                            std::vector<RowField<E>> fields,
                                            QWidget* parent = nullptr) {
  return new ListEditor<E>(
      title, list, std::move(make),
      [fields](RowsStack<E>& rows, std::size_t, const E& element) -> ListRow<E>* {
        return new TextRow<E>(rows.list(), fields, element);
      },
      parent);
}

// The eight list kinds, each with its row fields and the element "Add" appends.

/// A list of path records (ignored properties, objects as dictionaries, optional properties):
/// one "Path" field; "Add" appends an empty path.
template <class Tag>
[[nodiscard]] ListEditor<telvar::BasicPathRecord<Tag>>* pathListEditor(
    const QString& title, Binding<std::vector<telvar::BasicPathRecord<Tag>>> list,
    QWidget* parent = nullptr) {
  using E = telvar::BasicPathRecord<Tag>;
  return textListEditor<E>(
      title, std::move(list), [] { return E(telvar::Uuid::random(), std::string()); },
      {RowField<E>{QStringLiteral("Path"), TextFieldKind::small,
                   [](const E& e) { return e.path(); },
                   [](E& e, std::string text) { e.setPath(std::move(text)); }}},
      parent);
}

/// A list of name maps (type-name or property-name maps): "Path" then "Name" (whose look
/// `nameKind` gives); "Add" appends an empty path and name.
template <class Tag>
[[nodiscard]] ListEditor<telvar::BasicNameMap<Tag>>* nameMapsEditor(
    const QString& title, Binding<std::vector<telvar::BasicNameMap<Tag>>> list,
    TextFieldKind nameKind, QWidget* parent = nullptr) {
  using E = telvar::BasicNameMap<Tag>;
  return textListEditor<E>(
      title, std::move(list),
      [] { return E(telvar::Uuid::random(), std::string(), std::string()); },
      {RowField<E>{QStringLiteral("Path"), TextFieldKind::small,
                   [](const E& e) { return e.path(); },
                   [](E& e, std::string text) { e.setPath(std::move(text)); }},
       RowField<E>{QStringLiteral("Name"), nameKind, [](const E& e) { return e.name(); },
                   [](E& e, std::string text) { e.setName(std::move(text)); }}},
      parent);
}

/// "Type Name Maps": "Path" (small) and "Name" (big).
[[nodiscard]] ListEditor<telvar::TypeNameMap>* typeNameMapsEditor(
    Binding<std::vector<telvar::TypeNameMap>> list, QWidget* parent = nullptr);
/// "Property Name Maps": "Path" (small) and "Name" (`nameKind`: small but on the Go screen).
[[nodiscard]] ListEditor<telvar::PropertyNameMap>* propertyNameMapsEditor(
    Binding<std::vector<telvar::PropertyNameMap>> list, TextFieldKind nameKind,
    QWidget* parent = nullptr);
/// "Acronyms": one "Name" field; "Add" appends an empty name.
[[nodiscard]] ListEditor<telvar::Acronym>* acronymsEditor(
    Binding<std::vector<telvar::Acronym>> list, QWidget* parent = nullptr);
/// "Identifiable Types": "Path" (small) and "Key" (big); "Add" appends the key "id".
[[nodiscard]] ListEditor<telvar::SwiftMeta::IdentifiableType>* identifiableTypesEditor(
    Binding<std::vector<telvar::SwiftMeta::IdentifiableType>> list, QWidget* parent = nullptr);
/// "Ignored Properties".
[[nodiscard]] ListEditor<telvar::IgnoredProperty>* ignoredPropertiesEditor(
    Binding<std::vector<telvar::IgnoredProperty>> list, QWidget* parent = nullptr);
/// "Object As Dictionary".
[[nodiscard]] ListEditor<telvar::DictionaryObject>* dictionaryObjectsEditor(
    Binding<std::vector<telvar::DictionaryObject>> list, QWidget* parent = nullptr);
/// "Optional Properties".
[[nodiscard]] ListEditor<telvar::ValueMeta::OptionalProperty>* optionalPropertiesEditor(
    Binding<std::vector<telvar::ValueMeta::OptionalProperty>> list, QWidget* parent = nullptr);

/// One map of the "Property Enum Maps" editor: the path line ("Path", remove, a space of at least
/// 32), then its cases inset by 32 with an "Add Case" line.
class EnumMapRow : public ListRow<telvar::SwiftMeta::PropertyEnumMap> {
 public:
  using Map = telvar::SwiftMeta::PropertyEnumMap;
  using Case = Map::Case;

  EnumMapRow(const Binding<std::vector<Map>>& maps, const Map& map);
  void showElement(std::size_t index, const Map& map) override;

  [[nodiscard]] BoundLineEdit* pathField() const { return m_path; }
  [[nodiscard]] QAbstractButton* removeButton() const override { return m_remove; }
  [[nodiscard]] QPushButton* addCaseButton() const { return m_addCase; }
  [[nodiscard]] RowsStack<Case>* cases() const { return m_cases; }

 private:
  Binding<std::vector<Map>> m_maps;
  Binding<Map> m_map;
  Binding<std::vector<Case>> m_caseList;
  BoundLineEdit* m_path;
  SymbolButton* m_remove;
  RowsStack<Case>* m_cases;
  QPushButton* m_addCase;
};

/// "Property Enum Maps": "Add" appends a map with an empty path and two empty cases.
[[nodiscard]] ListEditor<telvar::SwiftMeta::PropertyEnumMap>* propertyEnumMapsEditor(
    Binding<std::vector<telvar::SwiftMeta::PropertyEnumMap>> list, QWidget* parent = nullptr);

}  // namespace mirel
