#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace mirel {

/// A two-way connection to one value that lives elsewhere (in the end, a field of the document's
/// model): `get()` reads the current value, `set()` stores a new one. Views hold bindings, never
/// copies of the model, so every read sees the latest model and every write lands in it at once.
///
/// A binding to a field is made from a binding to its record with `project`, which reads through
/// the record's defaulting accessor and writes the whole record back:
///   Binding<SwiftMeta> meta = options.project<SwiftMeta>(&SwiftOptions::swiftMeta,
///                                                       &SwiftOptions::setSwiftMeta);
///   meta.project<std::string>(&SwiftMeta::modelPrefix, &SwiftMeta::setModelPrefix).set("NS");
/// stores the prefix into the meta, the meta into the options record, and that record through
/// `options`.
template <class T>
class Binding {
 public:
  using Getter = std::function<T()>;
  using Setter = std::function<void(T)>;

  Binding(Getter get, Setter set) : m_get(std::move(get)), m_set(std::move(set)) {}

  /// The current value.
  [[nodiscard]] T get() const { return m_get(); }
  /// Stores `value` through the binding's owner.
  void set(T value) const { m_set(std::move(value)); }

  /// A binding to a part of the value. `read` is called with the value (`const T&`) and returns
  /// the part; `write` is called with a mutable copy of the current value and the new part, after
  /// which the changed copy is stored through this binding. Both may be member pointers.
  template <class U, class Read, class Write>
  [[nodiscard]] Binding<U> project(Read read, Write write) const {
    Binding self = *this;
    return Binding<U>([self, read] { return U(std::invoke(read, self.get())); },
                      [self, write](U part) {
                        T whole = self.get();
                        std::invoke(write, whole, std::move(part));
                        self.set(std::move(whole));
                      });
  }

 private:
  Getter m_get;
  Setter m_set;
};

/// The binding of one row of a list editor: the element at `index` of the list that `list`
/// reaches. Every read and write goes through `list`, so an edit acts on the current list, not on
/// the one the row was built from. A position that no longer lies inside the list (a row on its
/// way out) reads the element last read there and writes nothing. `fallback` is the element the
/// row was built from, the answer of such a read when nothing was read before.
template <class E>
[[nodiscard]] Binding<E> elementBinding(Binding<std::vector<E>> list,
                                        std::function<std::size_t()> index, E fallback) {
  auto last = std::make_shared<E>(std::move(fallback));
  return Binding<E>(
      [list, index, last] {
        std::vector<E> elements = list.get();
        std::size_t i = index();
        if (i < elements.size()) *last = elements[i];
        return *last;
      },
      [list, index](E element) {
        std::vector<E> elements = list.get();
        std::size_t i = index();
        if (i >= elements.size()) return;
        elements[i] = std::move(element);
        list.set(std::move(elements));
      });
}

/// Removes the element at `index` from the list behind `list` and writes the list back; a
/// position outside the list changes nothing.
template <class E>
void removeElement(const Binding<std::vector<E>>& list, std::size_t index) {
  std::vector<E> elements = list.get();
  if (index >= elements.size()) return;
  elements.erase(elements.begin() + static_cast<std::ptrdiff_t>(index));
  list.set(std::move(elements));
}

/// Appends `element` to the list behind `list` (read through its defaulting getter, so an unset
/// list is stored from then on) and writes the list back.
template <class E>
void appendElement(const Binding<std::vector<E>>& list, E element) {
  std::vector<E> elements = list.get();
  elements.push_back(std::move(element));
  list.set(std::move(elements));
}

}  // namespace mirel
