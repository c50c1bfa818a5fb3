#pragma once
// Makes writes beyond `bytes` fail for the life of the object, as a full disk
// would: the process's file size limit is lowered and the signal it raises is
// ignored, so write calls return errors instead.

#include <csignal>
#include <cstddef>

#ifdef _WIN32
namespace ostrel::test {
// Windows has no file size limit to lower: the Windows test run leaves out
// the tests that need one (see tests/CMakeLists.txt), and this stand-in only
// keeps their sources compiling.
class FileSizeLimit {
public:
    explicit FileSizeLimit(size_t) {}
};
}  // namespace ostrel::test
#else
#include <sys/resource.h>

namespace ostrel::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(size_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

}  // namespace ostrel::test
#endif
