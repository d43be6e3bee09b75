// A replaceable piece of behaviour: the core calls through a Hook, and the
// desktop program or a test puts its own in place. An empty hook means "the
// default". Safe to read from any thread while another replaces it.
#pragma once

#include <atomic>
#include <mutex>
#include <type_traits>
#include <utility>

namespace tenji::platform {

template <typename T>
class Hook {
 public:
  Hook() = default;
  Hook(const Hook&) = delete;
  Hook& operator=(const Hook&) = delete;

  // What is in place; an empty value when nothing is.
  T get() const {
    if constexpr (POINTER) {
      return value_.load(std::memory_order_acquire);
    } else {
      std::lock_guard lock(mutex_);
      return value_;
    }
  }

  // Whether anything is in place, without a lock: for hooks on hot paths
  // that are almost always empty.
  bool engaged() const { return engaged_.load(std::memory_order_acquire); }

  // Puts `value` in place and returns what was there.
  T exchange(T value) {
    const bool engaged = static_cast<bool>(value);
    T old;
    if constexpr (POINTER) {
      old = value_.exchange(value, std::memory_order_acq_rel);
    } else {
      std::lock_guard lock(mutex_);
      old = std::exchange(value_, std::move(value));
    }
    engaged_.store(engaged, std::memory_order_release);
    return old;
  }

  void set(T value) { exchange(std::move(value)); }

 private:
  static constexpr bool POINTER = std::is_pointer_v<T>;
  using Storage = std::conditional_t<POINTER, std::atomic<T>, T>;
  mutable std::mutex mutex_;
  Storage value_{};
  std::atomic<bool> engaged_{false};
};

// Puts a value in a hook for the life of the object, then restores what was
// there before. Tests and the screenshots use it for every hook alike.
template <typename T>
class ScopedHook {
 public:
  template <typename V>
  ScopedHook(Hook<T>& hook, V&& value) : hook_(hook), saved_(hook.exchange(T(std::forward<V>(value)))) {}
  ~ScopedHook() { hook_.exchange(std::move(saved_)); }
  ScopedHook(const ScopedHook&) = delete;
  ScopedHook& operator=(const ScopedHook&) = delete;

 private:
  Hook<T>& hook_;
  T saved_;
};

template <typename T, typename V>
ScopedHook(Hook<T>&, V&&) -> ScopedHook<T>;

}  // namespace tenji::platform
