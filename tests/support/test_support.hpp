#pragma once
// Helpers shared by the tests: scratch folders, whole-file read and write, a
// builder for Tev and points files, the built library loaded as the host
// loads it, and a runner for ostrel-host scripts.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ostrel.h"

namespace ostrel::test {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Sets (or, for nullptr, removes) an environment variable for the life of
// the object, and puts back what was there.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

Bytes readFile(const std::string& path);
void writeFile(const std::string& path, const Bytes& bytes);
void writeText(const std::string& path, std::string_view text);
// The file's text; on Windows its CR LF line ends read as LF, as a text-mode
// read gives them (use readFile for the exact bytes).
std::string readText(const std::string& path);
bool fileExists(const std::string& path);

// Little-endian appenders for building files byte by byte.
void putI32(Bytes& out, int32_t v);
void putF32(Bytes& out, float v);
void putU16(Bytes& out, uint16_t v);

struct TevFace {
    int32_t a, b, c, d;   // d < 0 for a triangle
};

// Builds Tev files: blocks are added in the order of the calls.
class TevBuilder {
public:
    TevBuilder();
    TevBuilder& points(const std::vector<float>& xyz);
    TevBuilder& faces(const std::vector<TevFace>& faces);
    TevBuilder& groups(const std::vector<uint16_t>& ids);
    TevBuilder& colours(const std::vector<uint32_t>& bgra);
    // Any block: tag, stored size and count as given, payload bytes appended.
    TevBuilder& rawBlock(int32_t tag, int32_t size, int32_t count, const Bytes& payload = {});
    TevBuilder& end();
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

// A points file (one points block) for the given coordinates.
Bytes pointsFile(const std::vector<float>& xyz);

// A cube of 8 vertices and 6 quads, the positions moved by `shift`.
std::vector<float> cubePoints(float shift = 0);
std::vector<TevFace> cubeFaces();

// The built shared library, loaded by file name.
class Library {
public:
    Library();
    OstrelExport get(const char* name) const;   // nullptr when not exported
    float call(const char* name, const char* text, double value = 0, char* mem = nullptr, int memSize = 0) const;
    float call(const char* name, const std::string& text, double value = 0, char* mem = nullptr,
               int memSize = 0) const {
        return call(name, text.c_str(), value, mem, memSize);
    }

private:
    void* handle_;
};

// Runs ostrel-host on a script (from folder `workDir` when given); returns
// what it printed and its exit status.
struct HostRun {
    std::string output;
    int status = -1;
};
HostRun runHost(const std::string& script, const std::string& extraArgs = "", const std::string& workDir = "");

}  // namespace ostrel::test
