#pragma once
// Work on a second core inside one call. Every thread started here is joined
// before the call that started it returns, so no thread of the library ever
// outlives an export, and none takes a lock the host could hold. Where there
// is one core (or OSTREL_THREADS=1 asks for it, or no thread can be started)
// the same work runs on the caller's thread, in an order that gives the same
// results byte for byte.

#include <exception>
#include <functional>
#include <thread>
#include <utility>

namespace ostrel {

// Whether an operation may use a second thread: the machine has at least two
// cores and the environment variable OSTREL_THREADS is not "1".
bool secondThreadAllowed() noexcept;

// A thread that runs one function and is always joined: by join(), or at the
// latest by the destructor. An exception the function throws comes back out
// of join().
class JoinedThread {
public:
    JoinedThread() = default;
    ~JoinedThread();
    JoinedThread(const JoinedThread&) = delete;
    JoinedThread& operator=(const JoinedThread&) = delete;

    // Starts `work` on a new thread; false (and `work` not run) when
    // secondThreadAllowed() is false or the system refuses a thread.
    bool start(std::function<void()> work);
    // Waits for the function; rethrows what it threw.
    void join();

private:
    std::thread thread_;
    std::exception_ptr failure_;
};

// Runs `side` on a second thread while `main` runs on this one, and returns
// when both are done. Without a second thread, main runs first, then side.
// An exception of either is rethrown here, after both have finished.
template <class Main, class Side>
void runSideBySide(Main&& main, Side&& side) {
    JoinedThread helper;
    if (!helper.start(std::function<void()>(std::forward<Side>(side)))) {
        main();
        side();
        return;
    }
    try {
        main();
    } catch (...) {
        try {
            helper.join();
        } catch (...) {
        }
        throw;
    }
    helper.join();
}

}  // namespace ostrel
