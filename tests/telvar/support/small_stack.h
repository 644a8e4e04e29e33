#pragma once

#include <cstddef>
#include <functional>

#include <pthread.h>

namespace telvar::testing {

/// Runs `work` on a thread with a stack of `bytes`, far smaller than a main thread's, so that a
/// stage whose stack use grows with the nesting depth of its input crashes here at once. Returns
/// false when the thread could not be started.
inline bool runOnSmallStack(std::size_t bytes, const std::function<void()>& work) {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  pthread_attr_setstacksize(&attributes, bytes);
  pthread_t thread;
  auto body = [](void* argument) -> void* {
    (*static_cast<const std::function<void()>*>(argument))();
    return nullptr;
  };
  const bool started =
      pthread_create(&thread, &attributes, body, const_cast<std::function<void()>*>(&work)) == 0;
  pthread_attr_destroy(&attributes);
  if (started) pthread_join(thread, nullptr);
  return started;
}

}  // namespace telvar::testing
