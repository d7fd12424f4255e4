#pragma once
#include <mutex>
#include <string>

namespace orvika2 {

// The text of the last failure, shared by a bus and the devices it opened,
// which may outlive it or run on another thread.
class FailureNote {
public:
    void Record(std::string text) {
        std::lock_guard lock(mutex_);
        text_ = std::move(text);
    }
    void Clear() { Record({}); }
    std::string Text() const {
        std::lock_guard lock(mutex_);
        return text_;
    }

private:
    mutable std::mutex mutex_;
    std::string text_;
};

}  // namespace orvika2
