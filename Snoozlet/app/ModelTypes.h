#pragma once

// The small values the application's objects hand each other: why a refresh
// is (not) running, a change waiting for the user's confirmation, and where
// the archive and the journal live. Views that need only these include this
// header, not the model's.

#include "settings/FixPlan.h"

#include <filesystem>
#include <optional>
#include <string>

namespace snoozlet {

// Whether a refresh is running, or why the last one failed.
class LoadState {
 public:
  enum class Kind { idle, loading, failed };

  LoadState() = default;
  static LoadState idle() { return {}; }
  static LoadState loading() { return LoadState(Kind::loading, {}); }
  // `message` is the error's description.
  static LoadState failed(std::string message) { return LoadState(Kind::failed, std::move(message)); }

  Kind kind() const { return kind_; }
  bool isLoading() const { return kind_ == Kind::loading; }
  // The error's description; empty unless failed.
  const std::string& message() const { return message_; }
  // The error's description; nothing unless failed.
  std::optional<std::string> failure() const {
    return kind_ == Kind::failed ? std::optional<std::string>(message_) : std::nullopt;
  }

  bool operator==(const LoadState&) const = default;

 private:
  LoadState(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}
  Kind kind_ = Kind::idle;
  std::string message_;
};

// A settings change waiting for the user's confirmation.
struct Review {
  // Canonical upper-case UUID text, new for every review.
  std::string id;
  FixPlan plan;
  // The journal record this plan undoes; absent for a new change.
  std::optional<std::string> undoing;

  bool operator==(const Review&) const = default;
};

// Where the archive and the journal live; absent means not kept.
struct Storage {
  std::optional<std::filesystem::path> archive;
  std::optional<std::filesystem::path> journal;

  // "nights.sqlite" and "changes.json" in the standard data folder
  // (~/.local/share/Snoozlet on Linux).
  static Storage standard();
  // "nights.sqlite" and "changes.json" in `folder`.
  static Storage in(const std::filesystem::path& folder) { return {folder / "nights.sqlite", folder / "changes.json"}; }

  bool operator==(const Storage&) const = default;
};

}  // namespace snoozlet
