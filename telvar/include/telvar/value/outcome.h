#pragma once

#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace telvar {

/// What a guarded entry point of the engine gives the driver and the application: a text, or
/// nothing. When the nothing comes from the machine rather than from the input (memory ran out
/// while a sample was read or its output written), `failure` says why in one line; otherwise it
/// is empty. Either way the program goes on.
struct Outcome {
  std::optional<std::string> text;
  std::string failure;
};

/// Runs `work` (which gives an optional text) so that an allocation failure becomes nothing
/// with its reason, never an abort: the application runs the engine on its main thread, where an
/// abort would lose the user's unsaved work.
template <class Work>
[[nodiscard]] Outcome guarded(Work&& work) noexcept {
  // The reasons are short enough to need no allocation of their own.
  try {
    return Outcome{std::forward<Work>(work)(), {}};
  } catch (const std::bad_alloc&) {
    return Outcome{std::nullopt, "out of memory"};
  } catch (const std::length_error&) {
    return Outcome{std::nullopt, "input too large"};  // a size beyond what a container holds
  }
}

}  // namespace telvar
