// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace zlm5 {

// What failed and why, as it travels up from the operating system to the
// user. `what` names the object (a file, a port); `reason` is the
// underlying cause (usually the system's text for an errno). Each layer
// that passes an error on adds its own context with `Within` (the file it
// was saving, the port it was opening), so that the final message reads
// from the outside in. Callers decide on `code()`, never on the texts,
// which are for the user.
class Error {
 public:
  Error() = default;
  // A failure the program found itself (a short file, a bad line): no
  // system error number.
  Error(std::string what, std::string reason)
      : what_(std::move(what)), reason_(std::move(reason)) {}
  // A failure with the system error number it came from (errno, or the
  // value of a std::error_code of the system's category).
  Error(std::string what, std::string reason, int code)
      : what_(std::move(what)), reason_(std::move(reason)), code_(code) {}

  // A failed system call: the reason is `doing` followed by the system's
  // text for `error_number` ("cannot save: Permission denied").
  static Error FromErrno(std::string what, int error_number, std::string_view doing = {});
  // The same for the system's own error number (SystemErrorText): errno on
  // POSIX, GetLastError() on Windows.
  static Error FromSystem(std::string what, int code, std::string_view doing = {});

  const std::string& what() const { return what_; }
  const std::string& reason() const { return reason_; }
  // The system error number behind the failure; 0 when there is none.
  int code() const { return code_; }

  // Prefixes the description with an outer context ("Saving x.sin").
  Error& Within(const std::string& context) {
    what_ = what_.empty() ? context : context + ": " + what_;
    return *this;
  }

  // "what: reason", or whichever of the two is present.
  std::string Message() const {
    if (what_.empty()) return reason_;
    if (reason_.empty()) return what_;
    return what_ + ": " + reason_;
  }

 private:
  std::string what_;
  std::string reason_;
  int code_ = 0;
};

// A value or the Error that prevented it. Never dropped unread: a result
// that is of no use to a caller is discarded with a (void) cast and a
// comment that says why.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}      // NOLINT: implicit on purpose
  Result(Error error) : state_(std::move(error)) {}  // NOLINT

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  T& value() { return std::get<T>(state_); }
  const T& value() const { return std::get<T>(state_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const Error& error() const { return std::get<Error>(state_); }
  Error& error() { return std::get<Error>(state_); }

 private:
  std::variant<T, Error> state_;
};

// Success without a value.
struct Ok {};
using Status = Result<Ok>;

// The operating system's text for an error number, as strerror gives it,
// but safe on several threads at once (strerror may share one buffer): the
// ports of a fleet run fail on threads of their own.
std::string ErrnoText(int error_number);

// The system's text for the error number its own calls report: errno on
// POSIX (the same as ErrnoText), GetLastError() on Windows, without the
// trailing full stop and line break Windows adds.
std::string SystemErrorText(int code);

inline Error Error::FromErrno(std::string what, int error_number, std::string_view doing) {
  return Error(std::move(what), std::string(doing) + ErrnoText(error_number), error_number);
}

inline Error Error::FromSystem(std::string what, int code, std::string_view doing) {
  return Error(std::move(what), std::string(doing) + SystemErrorText(code), code);
}

}  // namespace zlm5
