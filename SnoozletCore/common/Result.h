#pragma once

#include <string>
#include <utility>
#include <variant>

namespace snoozlet {

// The error of a Result: a value whose description() is what the user sees.
// Components define their own error types with a description() member; this
// one carries a ready-made text.
struct Error {
  std::string message;
  const std::string& description() const { return message; }
  bool operator==(const Error&) const = default;
};

// A value or an error, in the manner of std::expected (which g++ 12 lacks in
// C++20). Errors are values in the core: nothing throws across its boundary.
template <typename T, typename E = Error>
class [[nodiscard]] Result {
 public:
  Result(T value) : data_(std::in_place_index<0>, std::move(value)) {}
  static Result failure(E error) { return Result(std::in_place_index<1>, std::move(error)); }

  bool ok() const { return data_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(data_); }
  const T& value() const& { return std::get<0>(data_); }
  T&& value() && { return std::get<0>(std::move(data_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  const E& error() const { return std::get<1>(data_); }

 private:
  template <std::size_t I, typename V>
  Result(std::in_place_index_t<I> tag, V&& v) : data_(tag, std::forward<V>(v)) {}
  std::variant<T, E> data_;
};

// A Result without a value: success, or an error.
template <typename E>
class [[nodiscard]] Result<void, E> {
 public:
  Result() = default;
  static Result failure(E error) {
    Result r;
    r.error_ = std::move(error);
    r.failed_ = true;
    return r;
  }
  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const E& error() const { return error_; }

 private:
  bool failed_ = false;
  E error_{};
};

using Status = Result<void, Error>;

}  // namespace snoozlet
