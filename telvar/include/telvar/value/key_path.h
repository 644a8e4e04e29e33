#pragma once

#include <cstddef>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace telvar {

/// A key path read in place: the keys of a `Names` (the JSON keys from the root, the model name
/// first), or the keys of an object's path followed by one member's key, without copying either.
/// It refers to texts it does not own, so it is passed as a parameter and never kept. Stands
/// alone, so that the options can look paths up without the value tree. Keys read as views: a
/// member's own key need not be a `std::string` (see `MemberPath`).
class KeyPath {
 public:
  class Iterator;

  /// The empty path.
  KeyPath() noexcept = default;
  KeyPath(const std::vector<std::string>& names) noexcept : m_head(names) {}  // NOLINT
  /// `head` followed by `last`.
  KeyPath(std::span<const std::string> head, std::string_view last) noexcept
      : m_head(head), m_last(last), m_hasLast(true) {}

  [[nodiscard]] std::size_t size() const noexcept { return m_head.size() + (m_hasLast ? 1 : 0); }
  [[nodiscard]] bool empty() const noexcept { return !m_hasLast && m_head.empty(); }
  [[nodiscard]] std::string_view operator[](std::size_t i) const {
    return i < m_head.size() ? std::string_view(m_head[i]) : m_last;
  }
  [[nodiscard]] std::string_view front() const { return (*this)[0]; }
  [[nodiscard]] std::string_view back() const {
    return m_hasLast ? m_last : std::string_view(m_head.back());
  }
  [[nodiscard]] Iterator begin() const noexcept;
  [[nodiscard]] Iterator end() const noexcept;

  /// A copy of the keys, for a caller that keeps them.
  [[nodiscard]] std::vector<std::string> names() const {
    std::vector<std::string> copy;
    copy.reserve(size());
    copy.assign(m_head.begin(), m_head.end());
    if (m_hasLast) copy.emplace_back(m_last);
    return copy;
  }

  /// Same keys, byte for byte.
  friend bool operator==(const KeyPath& a, const KeyPath& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }

 private:
  std::span<const std::string> m_head;
  std::string_view m_last;
  bool m_hasLast = false;
};

/// Walks a path's keys; holds its own view of the path, so it outlives the one it came from.
class KeyPath::Iterator {
 public:
  // Keys are handed out as views, not references: a forward iterator to the ranges library, an
  // input iterator to the older algorithms.
  using iterator_concept = std::forward_iterator_tag;
  using iterator_category = std::input_iterator_tag;
  using value_type = std::string_view;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = std::string_view;

  Iterator() noexcept = default;
  Iterator(KeyPath path, std::size_t i) noexcept : m_path(path), m_i(i) {}
  reference operator*() const { return m_path[m_i]; }
  Iterator& operator++() noexcept {
    ++m_i;
    return *this;
  }
  Iterator operator++(int) noexcept {
    Iterator before = *this;
    ++m_i;
    return before;
  }
  friend bool operator==(const Iterator& a, const Iterator& b) noexcept { return a.m_i == b.m_i; }

 private:
  KeyPath m_path;
  std::size_t m_i = 0;
};

inline KeyPath::Iterator KeyPath::begin() const noexcept { return {*this, 0}; }
inline KeyPath::Iterator KeyPath::end() const noexcept { return {*this, size()}; }

}  // namespace telvar
