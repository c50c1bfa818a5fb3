#include "tools/export_reference_text.hpp"

namespace ostrel::reference::text {

const char* const kIntroduction = R"(# Ostrel exports

<!-- Written by tools/reference.sh from host/export_table.hpp: change the table, not this file. -->

This is the reference of every export of the Ostrel and Quendle libraries: what
each one is for, what it does with its three arguments, what it answers, every
code it can fail with and the library state it reads or changes. The same
sections are printed by `ostrel-host --help EXPORT`, and `ostrel.h` declares
the exports of the build it is compiled for, each with a short comment.

## Calling an export

Every export has one C signature, C linkage, an undecorated name and the
platform's default C calling convention:

```c
float Export(const char* text, double value, char* memBlock, int memBlockSize);
```

- **Builds.** {builds} Each section says which builds have the export; a
  host script that looks an export up by name can take a missing name as
  "not on this platform".
- **`text`** is a NUL-terminated 8-bit text, most often a path: in the ANSI
  code page on Windows (a double-byte character is never split, so its second
  byte may be a backslash), UTF-8 on macOS and Linux. Both `/` and `\`
  separate folders wherever a path is split.
- **`value`** is converted by each export as its section says. *trunc* means
  toward zero to a signed 32-bit integer, where NaN gives 0 and a value beyond
  the 32-bit range gives the nearest bound; *float* means narrowed to a 32-bit
  float, where a value beyond its range becomes the infinity of its sign. A
  test such as "0 or below" takes NaN down whichever branch the failed
  comparison leads to; the sections say which.
- **`memBlock`** is the host's block: a second input text (most often a second
  path) or an output block into which the export writes a NUL-terminated text.
  Where an export writes text, a positive `memBlockSize` bounds the write: the
  text is cut so that it and its NUL fit (`CheckName` refuses instead, see its
  section). A `memBlockSize` of 0 or less means that the block holds the
  longest text the export can write, which its section names. `GetFileInfo`
  reads `memBlockSize` as its section says.
- **Null pointers.** Each section says what a null `text` or `memBlock`
  answers. A null pointer is never read and never crashes the call.
- **The answer.** 0, a count or a value on success; a negative code on
  failure. Each section lists every code the export can answer with its
  meaning. The code -1000 is the same for every export that can answer it:
  memory ran out, or a library fault was caught; nothing is left half done,
  and no exception or crash reaches the host.
- **State.** The library keeps a few things between calls: the mesh buffers,
  the face-id list and the polygroup setting; the group list, the name set
  and the faces table; the T-pose list, the project header and modifier; the
  crop width and the key colour; the dialogs' title and start folder, the
  files chosen in the last dialog and the open folder listing. They start
  empty (or at the values their sections name) when the library is loaded and
  live until it is unloaded. Each section says which it reads or changes.
- **One call at a time.** Call the exports from one thread, one after
  another. An export may read a large file with a second thread of its own
  inside the call; none runs between calls.
- **Files.** Every file is opened and closed within the call. Inputs must be
  regular files; an output replaces its file all at once and leaves the old
  one as it was on any failure; the README's section on files says exactly
  what every export does with the paths it is given. Text outputs end their
  lines with the platform's line end (CR LF on Windows, LF elsewhere); binary
  outputs are byte for byte the same on every build.
)";

const char* const kCallSequences = R"(
## Call sequences

The host drives most work as a sequence of calls that share the library's
state. Each sequence below is run by the named script of the demo
(`bash tools/demo.sh`), written in the script language of `ostrel-host`: one
call per line, `Export "text" value "memBlock"`, `null` for a null pointer,
`out` for a 4096-byte output block.

### Merge parts into one mesh, and split it again

`examples/merge_parts.host`, `examples/obj_roundtrip.host`. The buffers and
the group list are emptied; each part is appended with the number of
vertices appended before it, and its name and vertex count go into the group
list; the merged file is written. Once the host has moved the merged mesh's
vertices, the list split hands each part its run of vertices as a points file
named after its group, and each points file is copied into its part in place.

```
clearVectors
GroupListClear
addTevFile "head.tev" 0             # vertices so far: 0
GroupListAdd "head" 8               # the part's name and vertex count
addTevFile "body.tev" 8
GroupListAdd "body" 25
vectorsToTev "merged.tev"           # writes the merged mesh, empties the buffers
GroupListSave "merged.grp"          # the list beside it, for a later session
# ... the host changes the positions in merged.tev ...
ListSplitOBJtoTev "merged.tev" 0 "points/"
SwapVertices_Tev "points/head.Tvt" 0 "head.tev"
SwapVertices_Tev "points/body.Tvt" 0 "body.tev"
```

### Append OBJ files as groups, and cut them apart

`examples/obj_roundtrip.host`. Each `AppendOBJ` answers the vertex count of
the combined file, which is the next call's value; the group list records
each part's faces. The list split cuts the combined file back into one OBJ
file per part; `SplitOBJ` and `SplitOBJtoTev` split by the file's own `g`
lines instead.

```
GroupListClear
AppendOBJ "arm.obj" 0 "figure.obj"
AppendOBJ "leg.obj" 8 "figure.obj"      # 8: what the first call answered
CreateFacesList
GetFaces "arm"
ListSplitOBJtoOBJ "figure.obj" 0 "parts/"
SplitOBJ "head.obj" 0 "split/"
SplitOBJtoTev "figure.obj" 0 "split/"
```

### Swap vertices into an OBJ file, and export a figure

`examples/obj_roundtrip.host`. `PoserExportOBJ` rewrites the host's exported
OBJ with the figure source's layout and the exported positions;
`SwapVertices` gives an OBJ file the vertex positions of another with the
same vertex count; `ScaleUVs` writes a copy with its texture coordinates
scaled about their centre.

```
PoserExportOBJ "arm_source.obj" 0 "arm_posed.obj"
SwapVertices "parts/arm.obj" 0 "arm_source.obj"
ScaleUVs "arm.obj" 0.5 "arm_uv.obj"
```

### Save a project, and open it again

`examples/project_roundtrip.host`. The T-pose list and the modifier are set,
the project file is written, and data files are appended to it one by one;
opening it restores the list and the modifier and unpacks the data files
into the folder of the path given.

```
ClearTPoseList
SetPrjModfier null 7
AddTPoseRef "standing" 1 "arms out, palms down"
WritePrjFile "scene.prj"
AddDatFile "12X.dat" 0 "scene.prj"
ClearTPoseList
OpenNEWPrjFile "scene.prj" 0 "restored/scene"
GetPrjModfier null 1
GetTPoseRef "standing" 0 out
```

### Convert a painted mesh to OBJ

`examples/project_tev_to_obj.host`. The base mesh gives the face ids, which
one conversion uses up; the colours alone can also go to a text file.

```
getFaceIDs "base.tev" 1
tevtoOBJ "painted.tev" 0 "painted.obj"
outMRGB "painted.tev" 0 "painted.txt"
```

### Edit textures

`examples/image_textures.host`. Each PSD tool edits the file it is given;
the key colour and the crop width are settings that later calls read.

```
MergePSDfiles "merged.psd" 0 "base.psd"
HealPSDfiles "merged.psd" 0 "base.psd"
FixEdgesPSD "gaps.psd"
RGBtoGrayscale "painted.psd" 40 "gray.psd"
SetInColor null 0                       # key colour black
SwapColorsPSD "gaps.psd" 16711680       # what is black becomes red
MakeStencilPSD "stencil.psd" 16777215
CreateThumbnail "thumb.psd" 32
CropBMP_SetWidth null 16
CropBMPfile "strip.bmp" 8 "strip16.bmp"
```

### List a folder

`examples/folder_listing.host`. One listing is open at a time; `GetFile`
hands out one name per call until it answers -3.

```
OpenFolder "examples/meshes"
GetFile null 0 out                      # 0 and a name, until -3
CloseFolder
```
)";

const char* topicIntroduction(exports::Topic topic) {
    switch (topic) {
    case exports::kMeshes:
        return R"(Tev files are the host's binary meshes: a 32-byte header, then blocks of
points (three 32-bit floats per vertex), vertex colours, faces (four 0-based
vertex indices, a negative fourth for a triangle) and polygroups, ended by an
end block; every number is little-endian. A points file (`.Tvt`) is one
points block standing alone. Readers check every count and size against the
file before they use it.
)";
    case exports::kObjGroups:
        return R"(The OBJ tools read OBJ text in one pass: `v` lines are vertices, `vt` texture
coordinates, `f` faces, `g` groups; other lines pass through where a tool
copies text. Outputs that a split creates never replace an existing file:
`_copy` and a number go before the extension until the name is free. The
group list holds (name, number) entries: a part's vertex count for the Tev
round trip, a group's face range for the OBJ one.
)";
    case exports::kProject:
        return R"(A project file holds the T-pose references, the project modifier and any
number of opaque data files; a scene package packs the 26 slot files of one
base path, with a size table beside it. Opening either unpacks its files into
the folder of the path given.
)";
    case exports::kTextures:
        return R"(The PSD tools read and write the subset of PSD files the host paints:
version 1, 8 bits per channel, at least three channels, uncompressed image
data, no colour-mode data. A colour is one number, R × 65536 + G × 256 + B.
The BMP tools read 24-bit bitmaps.

What each texture tool does to the example images, as `examples/image_textures.host`
calls it in the demo (`bash tools/demo.sh`). Each picture shows a file just before
and just after that one call; the 100 x 100 PSD files are enlarged 2 times, the BMP
strips 6 times, with whole pixels. Where a tool reads two files, the before picture
shows the file it changes on the left and the second file on the right, each at its
own size. `tools/texture-pictures.sh` makes the pictures.

| Tool | What it does to the example | Before | After |
|---|---|---|---|
| `MergePSDfiles` | value 0 (key colour black): every pixel of the painted copy that is not black is laid over `base.psd`; the black ones show the base. The result replaces the first file. | ![the painted copy and base.psd](docs/images/MergePSDfiles-before.png) | ![the merge](docs/images/MergePSDfiles-after.png) |
| `HealPSDfiles` | value 0 (top and bottom): `base.psd` with rows 50 to 59 of the merge as its first ten rows and rows 40 to 49 as its last ten, so the texture wraps from top to bottom. The result replaces the first file (the merge). | ![the merge and base.psd](docs/images/HealPSDfiles-before.png) | ![the healed base](docs/images/HealPSDfiles-after.png) |
| `FixEdgesPSD` | black pixels next to a coloured island take the island's colour, up to three pixels to each side, so the gaps between islands shrink. | ![the painted copy](docs/images/FixEdgesPSD-before.png) | ![the gaps closed](docs/images/FixEdgesPSD-after.png) |
| `RGBtoGrayscale` | value 40: a one-channel copy, each pixel the mean of its red, green and blue; grays of 40 and below turn black, the rest are stretched towards white. | ![painted.psd](docs/images/RGBtoGrayscale-before.png) | ![the grayscale copy](docs/images/RGBtoGrayscale-after.png) |
| `SwapColorsPSD` | after `SetInColor null 0` (key colour black), value 16711680 (red): every pixel still black turns red. | ![after FixEdgesPSD](docs/images/SwapColorsPSD-before.png) | ![black swapped for red](docs/images/SwapColorsPSD-after.png) |
| `MakeStencilPSD` | key colour black, value 16777215 (white): every pixel that is not black turns white. | ![the painted copy](docs/images/MakeStencilPSD-before.png) | ![the stencil](docs/images/MakeStencilPSD-after.png) |
| `CreateThumbnail` | value 32: the 100 x 100 file becomes its 32 x 32 thumbnail, made of whole pixels of the original (picked, not blended). | ![the painted copy](docs/images/CreateThumbnail-before.png) | ![the thumbnail, at the same scale](docs/images/CreateThumbnail-after.png) |
| `CropBMPfile` | after `CropBMP_SetWidth null 16`, value 8: from the 32 x 8 BMP, the 16 columns from column 8 and stored rows 1 to 5 (the bottom row and the top two are dropped) as a new 16 x 5 BMP. | ![strip.bmp](docs/images/CropBMPfile-before.png) | ![the 16-pixel strip](docs/images/CropBMPfile-after.png) |
)";
    case exports::kFilesDesktop:
        return R"(File and folder services, folder listings, and the desktop services of each
platform: the file-open dialog, screen metrics and input events.
)";
    }
    return "";
}

}  // namespace ostrel::reference::text
