#include "core/parallel.hpp"

#include <cstdlib>
#include <cstring>
#include <system_error>

namespace ostrel {

bool secondThreadAllowed() noexcept {
    const char* setting = std::getenv("OSTREL_THREADS");
    if (setting && std::strcmp(setting, "1") == 0) return false;
    return std::thread::hardware_concurrency() >= 2;
}

JoinedThread::~JoinedThread() {
    if (thread_.joinable()) thread_.join();
}

bool JoinedThread::start(std::function<void()> work) {
    if (thread_.joinable() || !secondThreadAllowed()) return false;
    failure_ = nullptr;
    try {
        thread_ = std::thread([this, work = std::move(work)] {
            try {
                work();
            } catch (...) {
                failure_ = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void JoinedThread::join() {
    if (thread_.joinable()) thread_.join();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

}  // namespace ostrel
