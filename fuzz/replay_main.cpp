// Runs a fuzz target over every file of a corpus folder, then over the
// crasher folders (or files) named after it, without libFuzzer: the kept
// corpus and every past crasher run as an ordinary test. A crash or sanitizer
// report fails the test. So does a corpus folder that is missing or holds no
// file, since a mistyped or emptied corpus would otherwise pass as a replay
// of nothing; crasher folders may be empty or absent.
//
//   replay_<target> CORPUS_FOLDER [CRASHERS ...]

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

static void runFile(const fs::path& path, size_t& count) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A fresh allocation of exactly the file's size, so that a sanitizer sees
    // any read past its end.
    std::vector<uint8_t> input(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
    ++count;
}

// Every regular file of `root`, or `root` itself when it is one; nothing
// when it does not exist.
static void runAll(const fs::path& root, size_t& count) {
    std::error_code ec;
    if (fs::is_regular_file(root, ec)) {
        runFile(root, count);
    } else if (fs::is_directory(root, ec)) {
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file()) runFile(entry.path(), count);
    }
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER [CRASHERS ...]\n", argv[0]);
        return 2;
    }
    const fs::path corpus(argv[1]);
    std::error_code ec;
    size_t count = 0;
    if (fs::is_directory(corpus, ec)) runAll(corpus, count);
    if (count == 0) {
        std::fprintf(stderr, "no corpus input: %s is not a folder holding a file\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) runAll(argv[i], count);
    std::printf("replayed %zu inputs\n", count);
    return 0;
}
