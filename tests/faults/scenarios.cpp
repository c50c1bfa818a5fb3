#include "tests/faults/scenarios.hpp"

#include <cstdio>
#include <stdexcept>

#include "tests/support/image_support.hpp"
#include "tests/support/test_support.hpp"

namespace ostrel::faults {
namespace {

using test::Bytes;

std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A grid of quads in four groups, with texture coordinates and one face of
// 200,000 corners: about 6 MiB, more than the window an input is read
// through, so the window's slots are filled again.
std::string largeObj() {
    constexpr int kSide = 240;
    std::string obj = "# grid\n";
    char line[96];
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            std::snprintf(line, sizeof line, "v %d.125 %d.5 %d.25\n", x, y, (x * y) % 7);
            obj += line;
        }
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            std::snprintf(line, sizeof line, "vt %.4f %.4f\n", x / double(kSide), y / double(kSide));
            obj += line;
        }
    for (int y = 0; y + 1 < kSide; ++y) {
        if (y % (kSide / 4) == 0) obj += "g part" + std::to_string(y / (kSide / 4)) + "\n";
        for (int x = 0; x + 1 < kSide; ++x) {
            const int a = y * kSide + x + 1, b = a + 1, c = a + kSide + 1, d = a + kSide;
            std::snprintf(line, sizeof line, "f %d/%d %d/%d %d/%d %d/%d\n", a, a, b, b, c, c, d, d);
            obj += line;
        }
    }
    // A face line longer than a read chunk: the reader's line buffer grows for it.
    obj += "f";
    for (int i = 0; i < 200000; ++i) {
        std::snprintf(line, sizeof line, " %d", 1 + i * 7 % (kSide * kSide));
        obj += line;
    }
    obj += "\n";
    return obj;
}

// Points, quads, polygroups and colours of a 400 x 500 grid: about 6 MiB.
std::string largeTev() {
    constexpr int kColumns = 400, kRows = 500;
    std::vector<float> points;
    points.reserve(size_t(3) * kColumns * kRows);
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kColumns; ++x) {
            points.push_back(float(x) * 0.01f + ((x % 9) == 0 ? 0.0004f : 0.f));
            points.push_back(float(y) * 0.01f);
            points.push_back(float((x + y) % 5) * 0.1f);
        }
    std::vector<test::TevFace> faces;
    std::vector<uint16_t> groups;
    for (int y = 0; y + 1 < kRows; ++y)
        for (int x = 0; x + 1 < kColumns; ++x) {
            const int a = y * kColumns + x;
            faces.push_back({a, a + 1, a + kColumns + 1, a + kColumns});
            groups.push_back(uint16_t(1 + y * 4 / kRows));
        }
    std::vector<uint32_t> colours(size_t(kColumns) * kRows);
    for (size_t i = 0; i < colours.size(); ++i) colours[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    return text(test::TevBuilder().points(points).faces(faces).groups(groups).colours(colours).end().bytes());
}

std::string largePsd() {
    return text(test::simplePsd(1200, 1200, [](int c, int r, int x) { return uint8_t((c * 71 + r * 3 + x) % 251); }));
}

// A container whose end block is followed by a payload.
std::string container() {
    Bytes bytes = test::TevBuilder().points(test::cubePoints()).end().bytes();
    for (int i = 0; i < 4136; ++i) bytes.push_back(uint8_t(i * 7));
    return text(bytes);
}

// An old-layout project: 16-byte header, two records, 16-byte chunk headers,
// each chunk followed by a filler byte.
std::string oldProject() {
    Bytes out;
    for (int32_t v : {5, 6, 2, 9}) test::putI32(out, v);
    for (const char* name : {"seated", "standing"}) {
        Bytes record(516, 0);
        record[0] = uint8_t(name[0]);
        std::copy(name, name + std::char_traits<char>::length(name), record.begin() + 4);
        out.insert(out.end(), record.begin(), record.end());
    }
    for (const auto& [number, size] : {std::pair{12, 300}, {13, 0}, {60, 1000}}) {
        Bytes data(static_cast<size_t>(size));
        for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(number + i * 7);
        for (int32_t v : {number, size + 16, 0, 0}) test::putI32(out, v);
        out.insert(out.end(), data.begin(), data.end());
        out.push_back(data.empty() ? 0 : data.back());
    }
    return text(out);
}

}  // namespace

std::string fileSource(const std::string& source, const std::string& path) {
    if (source.rfind("ex:", 0) == 0) {
        const Bytes bytes = test::readFile(std::string(OSTREL_SOURCE_DIR) + "/examples/" + source.substr(3));
        if (bytes.empty()) throw std::runtime_error("missing example file " + source);
        return text(bytes);
    }
    if (source.rfind("txt:", 0) == 0) return source.substr(4);
    if (source == "old") return "old contents of " + path + "\n";
    if (source == "large:obj") return largeObj();
    if (source == "large:objvertices") {
        // The host's positions file for the large OBJ: its vertex lines alone.
        const std::string obj = largeObj();
        return obj.substr(0, obj.find("vt "));
    }
    if (source == "large:tev") return largeTev();
    if (source == "large:psd") return largePsd();
    if (source == "container") return container();
    if (source == "oldproject") return oldProject();
    throw std::runtime_error("unknown file source " + source);
}

const std::vector<Scenario>& scenarios() {
    // The merged mesh of three parts with its group list, as a script makes it.
    const std::vector<Call> mergedMesh = {
        {"clearVectors"}, {"GroupListClear"}, {"setGroups", nullptr, 0},
        {"addTevFile", "/head.tev", 0}, {"GroupListAdd", "head", 8},
        {"addTevFile", "/body.tev", 8}, {"GroupListAdd", "body", 25},
        {"addTevFile", "/tail.tev", 33}, {"GroupListAdd", "tail", 4},
    };
    const std::vector<const char*> meshes = {"head.tev=ex:meshes/head.tev", "body.tev=ex:meshes/body.tev",
                                             "tail.tev=ex:meshes/tail.tev"};
    auto with = [](std::vector<const char*> a, std::initializer_list<const char*> b) {
        a.insert(a.end(), b);
        return a;
    };
    auto then = [](std::vector<Call> a, std::initializer_list<Call> b) {
        a.insert(a.end(), b);
        return a;
    };
    // The figure OBJ of three appended parts, its group list holding each part's faces.
    const std::vector<const char*> parts = {"arm.obj=ex:obj/arm.obj", "leg.obj=ex:obj/leg.obj",
                                            "head.obj=ex:obj/head.obj"};
    const std::vector<Call> figure = {{"GroupListClear"},
                                      {"AppendOBJ", "/arm.obj", 0, "/fig.obj"},
                                      {"AppendOBJ", "/leg.obj", 8, "/fig.obj"},
                                      {"AppendOBJ", "/head.obj", 13, "/fig.obj"}};
    const std::vector<Call> project = {
        {"ClearTPoseList"}, {"SetPrjModfier", nullptr, 7},
        {"AddTPoseRef", "standing", 1, "arms out"}, {"AddTPoseRef", "seated", 2, "knees bent"},
        {"WritePrjFile", "/s.prj"}, {"AddDatFile", "/12X.dat", 0, "/s.prj"},
        {"AddDatFile", "/13X.dax", 1, "/s.prj"}, {"AddDatFile", "/14X.dat", 0, "/s.prj"}, {"ClearTPoseList"}};
    const std::vector<const char*> projectData = {"12X.dat=ex:meshes/head.tev", "13X.dax=ex:meshes/body.tev",
                                                  "14X.dat=ex:project_meshes/painted.tev", "r/",
                                                  "r/12X.dat=old"};
    const std::vector<Call> projectProbes = {{"GetPrjModfier", nullptr, 1}, {"GetTPoseRef", "seated", 0, "/x"}};
    const std::vector<Call> poses = {{"ClearTPoseList"}, {"AddTPoseRef", "standing", 1, "arms out"}};
    const std::vector<const char*> slots = {"scene1.kel=ex:project_meshes/base.tev",
                                            "scene.dat=ex:project_meshes/painted.tev"};
    const std::vector<Call> groupList = {{"GroupListClear"}, {"GroupListAdd", "a", 3}, {"GroupListAdd", "b", 5}};

    static const std::vector<Scenario> all = {
        {"AddDatFile", with(projectData, {"15X.dat=ex:meshes/tail.tev"}), project, {},
         {"AddDatFile", "/15X.dat", 0, "/s.prj"}, 0, kInPlaceMem},
        {"AlignVertices_Tev", {"m.tev=ex:meshes/body.tev"}, {}, {}, {"AlignVertices_Tev", "/m.tev", 1.001}, 0,
         kInPlaceText},
        {"AlignVertices_TevLarge", {"m.tev=large:tev"}, {}, {}, {"AlignVertices_Tev", "/m.tev", 1.001}, 0,
         kInPlaceText | kLarge},
        {"AppendOBJ", with(parts, {"fig.obj=ex:obj/arm.obj"}), {}, {{"GroupListClear"}},
         {"AppendOBJ", "/leg.obj", 8, "/fig.obj"}, 13, kReplaces, {{"GroupListSize"}}},
        {"AppendOBJLarge", {"big.obj=large:obj", "fig.obj=ex:obj/arm.obj"}, {}, {{"GroupListClear"}},
         {"AppendOBJ", "/big.obj", 8, "/fig.obj"}, 57608, kReplaces | kLarge, {{"GroupListSize"}}},
        {"CreateFolder", {"a/"}, {}, {}, {"CreateFolder", "/a/sub"}, 0},
        {"CreateThumbnail", {"t.psd=ex:images/painted.psd"}, {}, {}, {"CreateThumbnail", "/t.psd", 32}, 0, kReplaces},
        {"CropBMPfile", {"strip.bmp=ex:images/strip.bmp", "out.bmp=old"}, {}, {{"CropBMP_SetWidth", nullptr, 16}},
         {"CropBMPfile", "/strip.bmp", 8, "/out.bmp"}, 0, kReplaces},
        {"EmptyFolder", {"d/", "d/a.txt=txt:a", "d/b.dat=txt:bb", "d/keep=txt:no extension", "d/sub/",
                         "d/sub/c.txt=txt:c"},
         {}, {}, {"EmptyFolder", "/d"}, 0, kIgnoresUndeletable},
        {"FileCopyTo", {"a.psd=ex:images/painted.psd", "b.psd=old"}, {}, {}, {"FileCopyTo", "/a.psd", 0, "/b.psd"},
         0, kReplaces},
        {"FileDelete", {"a.txt=txt:a", "b.txt=txt:b"}, {}, {}, {"FileDelete", "/a.txt"}, 0},
        {"FileRename", {"a.txt=txt:a", "b.txt=txt:b"}, {}, {}, {"FileRename", "/a.txt", 0, "/c.txt"}, 0},
        {"FixEdgesPSD", {"g.psd=ex:images/painted.psd"}, {}, {}, {"FixEdgesPSD", "/g.psd"}, 0, kReplaces},
        {"OpenFolderGetFile", {"d/", "d/a.txt=txt:a", "d/b.obj=txt:b", "d/sub/"}, {}, {}, {"OpenFolder", "/d"}, 0,
         kDrainsListing},
        {"GroupListLoad", {"l.grp=txt:"}, {{"GroupListClear"}, {"GroupListAdd", "head", 8},
                                           {"GroupListAdd", "body", 25}, {"GroupListSave", "/l.grp"}},
         {{"GroupListClear"}}, {"GroupListLoad", "/l.grp"}, 0, 0,
         {{"GroupListSize"}, {"GroupListGetName", nullptr, 1, "/x"}}},
        {"GroupListSave", {"l.grp=old"}, {}, groupList, {"GroupListSave", "/l.grp"}, 0, kReplaces},
        {"HealImportFile", {"h.psd=ex:images/painted.psd"}, {}, {}, {"HealImportFile", "/h.psd"}, 0, kInPlaceText},
        {"HealPSDfiles", {"m.psd=ex:images/painted.psd", "base.psd=ex:images/base.psd"}, {}, {},
         {"HealPSDfiles", "/m.psd", 1, "/base.psd"}, 0, kReplaces},
        {"ListSplitOBJtoOBJ", with(parts, {"parts/", "parts/head.obj=old"}), figure, {},
         {"ListSplitOBJtoOBJ", "/fig.obj", 0, "/parts/"}, 0, kMultiOutput},
        {"ListSplitOBJtoTev", with(meshes, {"pts/", "pts/tail.Tvt=old"}),
         then(mergedMesh, {{"vectorsToTev", "/merged.tev"}}), {},
         {"ListSplitOBJtoTev", "/merged.tev", 0, "/pts/"}, 0, kMultiOutput},
        {"MakeStencilPSD", {"s.psd=ex:images/painted.psd"}, {}, {{"SetInColor", nullptr, 0}},
         {"MakeStencilPSD", "/s.psd", 16777215}, 0, kReplaces},
        {"MergePSDfiles", {"m.psd=ex:images/painted.psd", "base.psd=ex:images/base.psd"}, {}, {},
         {"MergePSDfiles", "/m.psd", 0, "/base.psd"}, 0, kReplaces},
        {"MergePSDfilesLarge", {"m.psd=large:psd", "base.psd=large:psd"}, {}, {},
         {"MergePSDfiles", "/m.psd", 0, "/base.psd"}, 0, kReplaces | kLarge},
        {"OpenNEWPrjFile", projectData, project, {{"ClearTPoseList"}}, {"OpenNEWPrjFile", "/s.prj", 0, "/r/scene"}, 0,
         kMultiOutput | kReplaces | kSkipsUncreatable, projectProbes},
        {"OpenPrjFile", {"s.prj=oldproject", "r/", "r/12X.dat=old"}, {}, {{"ClearTPoseList"}},
         {"OpenPrjFile", "/s.prj", 0, "/r/scene"}, 0,
         kMultiOutput | kReplaces | kSkipsUncreatable, projectProbes},
        {"WritePrjFile", {"p.prj=old"}, {}, poses, {"WritePrjFile", "/p.prj"}, 0, kReplaces},
        {"OpenQPP", with(slots, {"un1.kel=old"}), {{"SaveQPP", "/scene", 0, "/pack.qpp"}}, {},
         {"OpenQPP", "/pack.qpp", 0, "/un"}, 0, kMultiOutput | kReplaces},
        {"SaveQPP", with(slots, {"pack.qpp=old"}), {}, {}, {"SaveQPP", "/scene", 0, "/pack.qpp"}, 0,
         kMultiOutput | kReplaces | kPassesOverUnopenable},
        {"PoserExportOBJ", {"src.obj=ex:obj/arm.obj", "posed.obj=ex:obj/arm.obj"}, {}, {},
         {"PoserExportOBJ", "/src.obj", 0, "/posed.obj"}, 0, kReplaces},
        {"PoserExportOBJLarge", {"src.obj=large:obj", "posed.obj=large:objvertices"}, {}, {},
         {"PoserExportOBJ", "/src.obj", 0, "/posed.obj"}, 0, kReplaces | kLarge},
        {"RGBtoGrayscale", {"p.psd=ex:images/painted.psd", "gray.psd=old"}, {}, {},
         {"RGBtoGrayscale", "/p.psd", 40, "/gray.psd"}, 0, kReplaces},
        {"ScaleUVs", {"arm.obj=ex:obj/arm.obj", "uv.obj=old"}, {}, {}, {"ScaleUVs", "/arm.obj", 0.5, "/uv.obj"}, 0,
         kReplaces},
        {"ScaleUVsLarge", {"big.obj=large:obj", "uv.obj=old"}, {}, {}, {"ScaleUVs", "/big.obj", 0.5, "/uv.obj"}, 0,
         kReplaces | kLarge},
        {"SplitOBJ", with(parts, {"split/", "split/back_of_head.obj=old"}), {}, {},
         {"SplitOBJ", "/head.obj", 0, "/split/"}, 0, kMultiOutput},
        {"SplitOBJLarge", {"big.obj=large:obj", "split/", "split/part3.obj=old"}, {}, {},
         {"SplitOBJ", "/big.obj", 0, "/split/"}, 0, kMultiOutput | kLarge},
        {"SplitOBJtoTev", with(parts, {"split/"}), figure, {}, {"SplitOBJtoTev", "/fig.obj", 0, "/split/"}, 0,
         kMultiOutput},
        {"SwapColorsPSD", {"g.psd=ex:images/painted.psd"}, {}, {{"SetInColor", nullptr, 0}},
         {"SwapColorsPSD", "/g.psd", 16711680}, 0, kReplaces},
        {"SwapVertices", {"a.obj=ex:obj/arm.obj", "b.obj=ex:obj/arm.obj"}, {}, {},
         {"SwapVertices", "/a.obj", 0, "/b.obj"}, 0, kReplaces},
        {"SwapVerticesLarge", {"a.obj=large:obj", "b.obj=large:obj"}, {}, {},
         {"SwapVertices", "/a.obj", 0, "/b.obj"}, 0, kReplaces | kLarge},
        {"SwapVertices_Tev", with(meshes, {"pts/"}),
         // The merged mesh's x near 0 snapped to 0 first, so the swap has
         // positions to change.
         then(mergedMesh, {{"vectorsToTev", "/merged.tev"}, {"AlignVertices_Tev", "/merged.tev", 1.9},
                           {"ListSplitOBJtoTev", "/merged.tev", 0, "/pts/"}}),
         {}, {"SwapVertices_Tev", "/pts/body.Tvt", 0, "/body.tev"}, 0, kInPlaceMem},
        {"addTevFile", {"head.tev=ex:meshes/head.tev"}, {}, {{"clearVectors"}}, {"addTevFile", "/head.tev", 0}, 8},
        {"vectorsToTev", with(meshes, {"merged.tev=old"}), {}, mergedMesh, {"vectorsToTev", "/merged.tev"}, 0,
         kReplaces},
        {"getDaxFile", {"c.tev=container", "out.dat=old"}, {}, {}, {"getDaxFile", "/c.tev", 0, "/out.dat"}, 0,
         kReplaces},
        {"getFaceIDs", {"base.tev=ex:project_meshes/base.tev"}, {}, {}, {"getFaceIDs", "/base.tev", 1}, 6},
        {"tevtoOBJ", {"base.tev=ex:project_meshes/base.tev", "p.tev=ex:project_meshes/painted.tev", "p.obj=old"},
         {}, {{"getFaceIDs", "/base.tev", 1}}, {"tevtoOBJ", "/p.tev", 0, "/p.obj"}, 0, kReplaces},
        {"tevtoOBJLarge", {"big.tev=large:tev", "p.obj=old"}, {}, {{"getFaceIDs", "/big.tev", 0}},
         {"tevtoOBJ", "/big.tev", 0, "/p.obj"}, 20001, kReplaces | kLarge},
        {"outMRGB", {"p.tev=ex:project_meshes/painted.tev", "c.txt=old"}, {}, {}, {"outMRGB", "/p.tev", 0, "/c.txt"},
         0, kReplaces},
    };
    return all;
}

}  // namespace ostrel::faults
