#include "tests/support/test_support.hpp"

#include "tests/support/line_ends.hpp"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace ostrel::test {
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
int processId() { return _getpid(); }
void* loadLibrary(const char* path) { return LoadLibraryA(path); }
void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
// Text mode: the program's CR LF line ends come back as LF.
FILE* openPipe(const std::string& command) { return _popen(command.c_str(), "r"); }
int closePipe(FILE* pipe) { return _pclose(pipe); }   // the program's exit code
// cmd.exe takes a leading "/" for a switch, and a command may first change
// the drive: name the program by its full path with backslashes.
std::string commandPath(std::string path) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length > 0 && length < MAX_PATH) path.assign(full, length);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}
std::string inFolder(const std::string& folder) { return "cd /d \"" + folder + "\" && "; }
#else
int processId() { return getpid(); }
void* loadLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
void* findSymbol(void* handle, const char* name) { return dlsym(handle, name); }
FILE* openPipe(const std::string& command) { return popen(command.c_str(), "r"); }
int closePipe(FILE* pipe) {
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
std::string commandPath(std::string path) { return path; }
std::string inFolder(const std::string& folder) { return "cd '" + folder + "' && "; }
#endif

}  // namespace

namespace {

void setEnvironment(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
    if (value) setenv(name.c_str(), value->c_str(), 1);
    else unsetenv(name.c_str());
#endif
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    setEnvironment(name_, value ? std::optional<std::string>(value) : std::nullopt);
}

ScopedEnvironment::~ScopedEnvironment() { setEnvironment(name_, previous_); }

ScratchDir::ScratchDir() {
    static std::atomic<unsigned> counter{0};
    path_ = fs::temp_directory_path() /
            ("ostrel-test-" + std::to_string(processId()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void writeText(const std::string& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
}

std::string readText(const std::string& path) {
    Bytes bytes = readFile(path);
    std::string text(bytes.begin(), bytes.end());
#ifdef _WIN32
    // As a text-mode read: the platform's CR LF line ends come back as LF.
    return withLfLineEnds(text);
#else
    return text;
#endif
}

bool fileExists(const std::string& path) { return fs::exists(path); }

void putI32(Bytes& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}
void putF32(Bytes& out, float v) {
    int32_t bits;
    std::memcpy(&bits, &v, 4);
    putI32(out, bits);
}
void putU16(Bytes& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

TevBuilder::TevBuilder() {
    const char header[] = "Tevb 1.0 Kelmor Tev Binary......";
    bytes_.assign(header, header + 32);
}

TevBuilder& TevBuilder::rawBlock(int32_t tag, int32_t size, int32_t count, const Bytes& payload) {
    putI32(bytes_, tag);
    putI32(bytes_, size);
    putI32(bytes_, count);
    putI32(bytes_, 0);
    bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    return *this;
}

TevBuilder& TevBuilder::points(const std::vector<float>& xyz) {
    Bytes payload;
    for (float v : xyz) putF32(payload, v);
    return rawBlock(10001, int32_t(16 + payload.size()), int32_t(xyz.size() / 3), payload);
}

TevBuilder& TevBuilder::faces(const std::vector<TevFace>& faces) {
    Bytes payload;
    for (const TevFace& f : faces) {
        putI32(payload, f.a);
        putI32(payload, f.b);
        putI32(payload, f.c);
        putI32(payload, f.d);
    }
    return rawBlock(20001, int32_t(16 + payload.size()), int32_t(faces.size()), payload);
}

TevBuilder& TevBuilder::groups(const std::vector<uint16_t>& ids) {
    Bytes payload;
    for (uint16_t id : ids) putU16(payload, id);
    return rawBlock(40001, int32_t(16 + payload.size()), int32_t(ids.size()), payload);
}

TevBuilder& TevBuilder::colours(const std::vector<uint32_t>& bgra) {
    Bytes payload;
    for (uint32_t c : bgra) putI32(payload, int32_t(c));
    return rawBlock(35001, int32_t(16 + payload.size()), int32_t(bgra.size()), payload);
}

TevBuilder& TevBuilder::end() { return rawBlock(0, 0, 0); }

Bytes pointsFile(const std::vector<float>& xyz) {
    Bytes out;
    putI32(out, 10001);
    putI32(out, int32_t(16 + 4 * xyz.size()));
    putI32(out, int32_t(xyz.size() / 3));
    putI32(out, 0);
    for (float v : xyz) putF32(out, v);
    return out;
}

std::vector<float> cubePoints(float shift) {
    std::vector<float> xyz;
    for (int i = 0; i < 8; ++i) {
        xyz.push_back(float(i & 1) + shift);
        xyz.push_back(float((i >> 1) & 1) + shift);
        xyz.push_back(float((i >> 2) & 1) + shift);
    }
    return xyz;
}

std::vector<TevFace> cubeFaces() {
    return {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
}

Library::Library() : handle_(loadLibrary(OSTREL_LIBRARY_PATH)) {
    if (!handle_) throw std::runtime_error(std::string("cannot load ") + OSTREL_LIBRARY_PATH);
}

OstrelExport Library::get(const char* name) const {
    return reinterpret_cast<OstrelExport>(findSymbol(handle_, name));
}

float Library::call(const char* name, const char* text, double value, char* mem, int memSize) const {
    OstrelExport f = get(name);
    if (!f) throw std::runtime_error(std::string("no export ") + name);
    return f(text, value, mem, memSize);
}

HostRun runHost(const std::string& script, const std::string& extraArgs, const std::string& workDir) {
    ScratchDir dir;
    std::string scriptPath = dir.file("script.txt");
    writeText(scriptPath, script);
    std::string command = commandPath(OSTREL_HOST_PATH) + " " + extraArgs + " " + scriptPath + " 2>&1";
    if (!workDir.empty()) command = inFolder(workDir) + command;
    HostRun run;
    FILE* pipe = openPipe(command);
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    run.status = closePipe(pipe);
    return run;
}

}  // namespace ostrel::test
