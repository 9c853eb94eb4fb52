// The values a layer's globals hold when the module is loaded, kept so that the
// module's init can put them back: a host that lets the module go and takes it again
// without unloading it starts from the same state as on a fresh load.
#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

class LoadState {
 public:
  // Records `value` with a copy of what it holds now.
  template <class T>
  void keep(T& value) {
    struct Saved {
      T value;
    };
    auto saved = std::make_shared<Saved>();
    copy_value(saved->value, value);
    restorers_.push_back([&value, saved] { copy_value(value, saved->value); });
  }
  template <class T, class... More>
  void keep(T& first, More&... more) {
    keep(first);
    (keep(more), ...);
  }
  // On the first call, while the globals still hold their load-time values, records
  // them through `keep_all(*this)`; on every later call puts them back.
  template <class KeepAll>
  void restore(KeepAll keep_all) {
    if (!kept_) {
      keep_all(*this);
      kept_ = true;
      return;
    }
    for (const auto& restore_one : restorers_) restore_one();
  }

 private:
  template <class T>
  static void copy_value(T& to, const T& from) {
    if constexpr (std::is_array_v<T>) {
      for (std::size_t i = 0; i < std::extent_v<T>; ++i) copy_value(to[i], from[i]);
    } else {
      to = from;
    }
  }
  std::vector<std::function<void()>> restorers_;
  bool kept_ = false;
};
