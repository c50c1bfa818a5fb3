#include "obj/obj_small_tools.hpp"

#include "core/convert.hpp"
#include "core/number_text.hpp"
#include "obj/group_list.hpp"
#include "obj/obj_output.hpp"
#include "obj/obj_text.hpp"

namespace ostrel::obj {

float CreateGroupFacesList() {
    GroupListState& state = groupListState();
    if (state.groupsList.empty()) return kFacesListEmpty;
    state.groupFacesList.clear();
    for (const groupID& record : state.groupsList)
        state.groupFacesList.emplace(std::string(record.nameText()),
                                     int32_t(uint32_t(record.endFace) - uint32_t(record.startFace)));
    return 0;
}

float getGroupFaces(std::string_view name) {
    const auto& table = groupListState().groupFacesList;
    if (table.empty()) return kFacesTableEmpty;
    auto found = table.find(std::string(name));
    return found == table.end() ? kFacesNameUnknown : float(found->second);
}

namespace {

// "vt " then u and v, each as %g with six significant digits, and a space
// after each.
void writeUvLine(OutputFile& out, float u, float v) {
    char text[3 * kNumberTextMax];
    char* p = text;
    *p++ = 'v';
    *p++ = 't';
    *p++ = ' ';
    p = formatG6(p, u);
    *p++ = ' ';
    p = formatG6(p, v);
    *p++ = ' ';
    out.write(text, size_t(p - text));
    out.write(kLineEnd);
}

}  // namespace

float scaleUVs(const char* inputPath, double scale, const char* outputPath) {
    const float offset = narrow((1.0 - scale) / 2.0);
    StreamedInput input;
    if (!input.open(inputPath)) return kScaleCannotOpenInput;
    const bool scaling = scale > 0;
    const auto writeScaled = [&](std::string_view line, OutputFile& out) {
        // "vt" and whatever single separator follows; a third coordinate is dropped.
        float uv[2];
        readFloats(line.size() > 3 ? line.substr(3) : std::string_view(), uv, 2);
        if (scaling)
            for (float& c : uv) c = narrow(double(c) * scale + double(offset));
        writeUvLine(out, uv[0], uv[1]);
    };
    bool inputFailed = false;
    bool written = writeOutput(outputPath, [&](OutputFile& out) {
        for (std::string_view lines; !(lines = input.nextLines()).empty();)
            copyLinesExcept(lines, out, isUvLine, writeScaled);
        // An input that could not be read to its end leaves no output.
        inputFailed = !input.finish();
        if (inputFailed) out.abandon();
    });
    if (inputFailed) return kScaleCannotOpenInput;
    return written ? 0.0f : kScaleCannotWriteOutput;
}

}  // namespace ostrel::obj
