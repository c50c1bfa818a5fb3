#pragma once
// The one list of the library's exports. Everything that must agree with it is
// derived from it: the C declarations below, the Windows module-definition
// file, the test that compares the built library's exported names with it, and
// the README's table.
//
// OSTREL_EXPORT(name, builds, state)
//   builds: the deliverables whose library exports the name.
//   state:  Built when the frame and its worker exist; Pending otherwise. A
//           Pending export is declared but not defined, so no build exports a
//           function that would only pretend to work.

#include <cstdint>

namespace ostrel::exports {

enum Build : uint32_t {
    kWin64 = 1u << 0,
    kWin32 = 1u << 1,
    kMac = 1u << 2,
    kLinux = 1u << 3,
    kWindows = kWin64 | kWin32,
    kEvery = kWindows | kMac | kLinux,     // the 56 functions every build shares
    kWindowsLinux = kWindows | kLinux,     // Windows exports that need no desktop service
    kWindowsOnly = kWindows,               // desktop services of the Windows builds
    kMacOnly = kMac,                       // desktop services of the macOS build
};

enum State { Built, Pending };

}  // namespace ostrel::exports

#define OSTREL_EXPORT_LIST(X)                             \
    X(AddDatFile, kEvery, Built)                          \
    X(AddTPoseRef, kEvery, Built)                         \
    X(AlignVertices_Tev, kEvery, Built)                   \
    X(AppendOBJ, kEvery, Built)                           \
    X(CheckName, kEvery, Built)                           \
    X(ClearNameSet, kEvery, Built)                        \
    X(ClearTPoseList, kEvery, Built)                      \
    X(CloseFolder, kEvery, Built)                         \
    X(CreateFacesList, kEvery, Built)                     \
    X(CreateFolder, kEvery, Built)                        \
    X(CreateThumbnail, kEvery, Built)                     \
    X(CropBMP_SetWidth, kEvery, Built)                    \
    X(CropBMPfile, kEvery, Built)                         \
    X(DispSizeH, kWindowsOnly, Built)                     \
    X(DispSizeV, kWindowsOnly, Built)                     \
    X(EmptyFolder, kEvery, Built)                         \
    X(FileCopyTo, kEvery, Built)                          \
    X(FileDelete, kEvery, Built)                          \
    X(FileRename, kEvery, Built)                          \
    X(FixEdgesPSD, kWindowsLinux, Built)                  \
    X(GetDirFileList, kWindowsOnly, Built)                \
    X(GetFaces, kEvery, Built)                            \
    X(GetFile, kEvery, Built)                             \
    X(GetFileInfo, kWindowsOnly, Built)                   \
    X(GetFileList, kWindowsOnly, Built)                   \
    X(GetPrjModfier, kEvery, Built)                       \
    X(GetPublicFolder, kEvery, Built)                     \
    X(GetScreenFactor, kWindowsOnly, Built)               \
    X(GetTPoseRef, kEvery, Built)                         \
    X(GroupListAdd, kEvery, Built)                        \
    X(GroupListClear, kEvery, Built)                      \
    X(GroupListGetName, kEvery, Built)                    \
    X(GroupListLoad, kEvery, Built)                       \
    X(GroupListSave, kEvery, Built)                       \
    X(GroupListSize, kEvery, Built)                       \
    X(HealImportFile, kWindowsLinux, Built)               \
    X(HealPSDfiles, kEvery, Built)                        \
    X(LaunchAppWithFile, kWindowsOnly, Built)             \
    X(ListSplitOBJtoTev, kEvery, Built)                   \
    X(ListSplitOBJtoOBJ, kEvery, Built)                   \
    X(MakeStencilPSD, kEvery, Built)                      \
    X(MergePSDfiles, kEvery, Built)                       \
    X(OpenFolder, kEvery, Built)                          \
    X(OpenNEWPrjFile, kEvery, Built)                      \
    X(OpenPrjFile, kEvery, Built)                         \
    X(OpenQPP, kWindowsLinux, Built)                      \
    X(PoserExportOBJ, kEvery, Built)                      \
    X(RGBtoGrayscale, kEvery, Built)                      \
    X(SaveQPP, kWindowsLinux, Built)                      \
    X(ScaleUVs, kEvery, Built)                            \
    X(SetDefaultDir, kWindowsOnly, Built)                 \
    X(SetDialogTitle, kWindowsOnly, Built)                \
    X(SetInColor, kEvery, Built)                          \
    X(SetPrjModfier, kEvery, Built)                       \
    X(ShiftDown, kWindowsOnly, Built)                     \
    X(ShiftUp, kWindowsOnly, Built)                       \
    X(SplitOBJ, kEvery, Built)                            \
    X(SplitOBJtoTev, kEvery, Built)                       \
    X(SwapColorsPSD, kEvery, Built)                       \
    X(SwapVertices, kEvery, Built)                        \
    X(SwapVertices_Tev, kEvery, Built)                    \
    X(Version, kEvery, Built)                             \
    X(WritePrjFile, kEvery, Built)                        \
    X(addTevFile, kEvery, Built)                          \
    X(clearVectors, kEvery, Built)                        \
    X(getDaxFile, kEvery, Built)                          \
    X(getFaceIDs, kEvery, Built)                          \
    X(tevtoOBJ, kEvery, Built)                            \
    X(outMRGB, kEvery, Built)                             \
    X(setGroups, kEvery, Built)                           \
    X(vectorsToTev, kEvery, Built)                        \
    X(GetOpenDialog, kMacOnly, Built)                     \
    X(GetFilePath, kMacOnly, Built)                       \
    X(ClearFileList, kMacOnly, Built)                     \
    X(inPut, kMacOnly, Built)                             \
    X(isKeyPressed, kMacOnly, Built)
