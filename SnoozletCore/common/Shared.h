#pragma once

// Values held once on the heap and shared, read-only, by every copy: copying
// costs a reference count. A long log's sessions hold tens of thousands of
// wake reasons and requests whose texts repeat; sharing them keeps the
// sessions (and the reports that copy them) small.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <ostream>
#include <utility>

namespace snoozlet {

// A value that is always present.
template <typename T>
class Shared {
 public:
  Shared() : value_(blank()) {}
  Shared(T value) : value_(std::make_shared<const T>(std::move(value))) {}
  Shared(const char* text) requires std::is_constructible_v<T, const char*> : Shared(T(text)) {}

  const T& get() const { return *value_; }
  operator const T&() const { return *value_; }
  const T& operator*() const { return *value_; }
  const T* operator->() const { return value_.get(); }

  friend bool operator==(const Shared& a, const Shared& b) { return a.value_ == b.value_ || *a.value_ == *b.value_; }
  friend bool operator==(const Shared& a, const T& b) { return *a.value_ == b; }
  friend bool operator==(const Shared& a, const char* b) requires std::is_same_v<T, std::string> {
    return *a.value_ == b;
  }
  friend bool operator==(const Shared& a, std::string_view b) requires std::is_same_v<T, std::string> {
    return *a.value_ == b;
  }
  friend std::ostream& operator<<(std::ostream& out, const Shared& s) { return out << *s.value_; }

 private:
  static const std::shared_ptr<const T>& blank() {
    static const std::shared_ptr<const T> value = std::make_shared<const T>();
    return value;
  }
  std::shared_ptr<const T> value_;
};

// An optional value; absent costs one null pointer.
template <typename T>
class SharedOptional {
 public:
  SharedOptional() = default;
  SharedOptional(std::nullopt_t) {}
  SharedOptional(T value) : value_(std::make_shared<const T>(std::move(value))) {}
  SharedOptional(std::optional<T> value) {
    if (value) value_ = std::make_shared<const T>(std::move(*value));
  }

  bool has_value() const { return value_ != nullptr; }
  explicit operator bool() const { return has_value(); }
  const T& operator*() const { return *value_; }
  const T* operator->() const { return value_.get(); }
  const T& value() const { return *value_; }
  void reset() { value_.reset(); }
  std::optional<T> optional() const { return value_ ? std::optional<T>(*value_) : std::nullopt; }

  friend bool operator==(const SharedOptional& a, const SharedOptional& b) {
    return a.value_ == b.value_ || (a.value_ && b.value_ && *a.value_ == *b.value_);
  }
  friend bool operator==(const SharedOptional& a, const std::optional<T>& b) { return a.optional() == b; }

 private:
  std::shared_ptr<const T> value_;
};

}  // namespace snoozlet
