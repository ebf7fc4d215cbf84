#pragma once

// Stand-ins that record what the application asked of the system: a
// notification center and a privileged runner.

#include "app/NotificationCenter.h"
#include "settings/PrivilegedRunner.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace snoozlet::testing {

class RecordingNotificationCenter final : public NotificationCenter {
 public:
  struct Post {
    QString identifier, title, body;
    bool operator==(const Post&) const = default;
  };

  bool grants = true;  // the answer to authorization requests
  std::vector<Post> posts;
  std::function<void(const Post&)> onPost;  // called at every post, before it is recorded

  void requestAuthorization(std::function<void(bool)> done) override { done(grants); }
  void post(const QString& identifier, const QString& title, const QString& body) override {
    const Post posted{identifier, title, body};
    if (onPost) onPost(posted);
    posts.push_back(posted);
  }
};

// A runner that records each plan it is given, then hands it to an inner
// runner, fails as told, or (with neither) does nothing and succeeds, like
// an administrator script whose pmset ignored the change.
class RecordingRunner final : public PrivilegedRunner {
 public:
  explicit RecordingRunner(std::shared_ptr<PrivilegedRunner> inner = nullptr) : inner_(std::move(inner)) {}
  static std::shared_ptr<RecordingRunner> failing(RunFailure failure) {
    auto runner = std::make_shared<RecordingRunner>();
    runner->failure_ = std::move(failure);
    return runner;
  }

  bool isDryRun() const override { return inner_ && inner_->isDryRun(); }
  RunResult run(const FixPlan& plan) override {
    {
      const std::lock_guard lock(mutex_);
      plans_.push_back(plan);
    }
    if (onRun) onRun();
    if (failure_) return RunResult::failure(*failure_);
    return inner_ ? inner_->run(plan) : RunResult();
  }
  std::vector<FixPlan> plans() const {
    const std::lock_guard lock(mutex_);
    return plans_;
  }
  // Called on the runner's thread as each run starts, before anything runs.
  std::function<void()> onRun;

 private:
  std::shared_ptr<PrivilegedRunner> inner_;
  std::optional<RunFailure> failure_;
  mutable std::mutex mutex_;
  std::vector<FixPlan> plans_;
};

}  // namespace snoozlet::testing
