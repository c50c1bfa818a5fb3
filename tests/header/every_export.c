/* Written by ostrel-reference: takes the address of every export that
 * ostrel.h declares for this build, and calls Version. It compiles only when
 * the header declares them all, and links only against a library that
 * exports them all. */
#include <stdio.h>

#include "ostrel.h"

int main(void) {
    const OstrelExport exports[] = {
        AlignVertices_Tev,
        SwapVertices_Tev,
        addTevFile,
        clearVectors,
        getFaceIDs,
        tevtoOBJ,
        outMRGB,
        setGroups,
        vectorsToTev,
        AppendOBJ,
        CheckName,
        ClearNameSet,
        CreateFacesList,
        GetFaces,
        GroupListAdd,
        GroupListClear,
        GroupListGetName,
        GroupListLoad,
        GroupListSave,
        GroupListSize,
        ListSplitOBJtoTev,
        ListSplitOBJtoOBJ,
        PoserExportOBJ,
        ScaleUVs,
        SplitOBJ,
        SplitOBJtoTev,
        SwapVertices,
        getDaxFile,
        AddDatFile,
        AddTPoseRef,
        ClearTPoseList,
        GetPrjModfier,
        GetTPoseRef,
        OpenNEWPrjFile,
        OpenPrjFile,
#if defined(OSTREL_BUILD_WINDOWS) || defined(OSTREL_BUILD_LINUX)
        OpenQPP,
        SaveQPP,
#endif
        SetPrjModfier,
        WritePrjFile,
        CreateThumbnail,
        CropBMP_SetWidth,
        CropBMPfile,
#if defined(OSTREL_BUILD_WINDOWS) || defined(OSTREL_BUILD_LINUX)
        FixEdgesPSD,
        HealImportFile,
#endif
        HealPSDfiles,
        MakeStencilPSD,
        MergePSDfiles,
        RGBtoGrayscale,
        SetInColor,
        SwapColorsPSD,
        CloseFolder,
        CreateFolder,
#if defined(OSTREL_BUILD_WINDOWS)
        DispSizeH,
        DispSizeV,
#endif
        EmptyFolder,
        FileCopyTo,
        FileDelete,
        FileRename,
#if defined(OSTREL_BUILD_WINDOWS)
        GetDirFileList,
#endif
        GetFile,
#if defined(OSTREL_BUILD_WINDOWS)
        GetFileInfo,
        GetFileList,
#endif
        GetPublicFolder,
#if defined(OSTREL_BUILD_WINDOWS)
        GetScreenFactor,
        LaunchAppWithFile,
#endif
        OpenFolder,
#if defined(OSTREL_BUILD_WINDOWS)
        SetDefaultDir,
        SetDialogTitle,
        ShiftDown,
        ShiftUp,
#endif
        Version,
#if defined(OSTREL_BUILD_MACOS)
        GetOpenDialog,
        GetFilePath,
        ClearFileList,
        inPut,
        isKeyPressed,
#endif
    };
    const size_t count = sizeof exports / sizeof exports[0];
    for (size_t i = 0; i < count; ++i)
        if (!exports[i]) return 1;
    const float version = Version(NULL, 0, NULL, 0);
    printf("%u exports, version %g\n", (unsigned)count, version);
    return version > 0 ? 0 : 1;
}
