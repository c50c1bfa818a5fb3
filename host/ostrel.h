/* ostrel.h: the C interface of the Ostrel and Quendle plug-in libraries.
 *
 * Written by tools/reference.sh from host/export_table.hpp: change the table,
 * not this file. EXPORTS.md describes every export in full.
 *
 * Every export has the one signature below, C linkage, an undecorated name
 * and the platform's default C calling convention. It answers 0, a count or a
 * value on success and a negative code on failure; -1000 means memory ran
 * out or a library fault was caught. Call the exports one at a time, from one
 * thread. The header declares exactly the exports of the build it is read
 * for: Windows (Ostrel.dll and Quendle.dll), macOS or Linux. */
#ifndef OSTREL_H
#define OSTREL_H

#if defined(_WIN32)
#define OSTREL_BUILD_WINDOWS 1
#elif defined(__APPLE__)
#define OSTREL_BUILD_MACOS 1
#else
#define OSTREL_BUILD_LINUX 1
#endif

/* The library defines OSTREL_BUILDING_LIBRARY; a program that calls it does not. */
#if defined(OSTREL_BUILDING_LIBRARY) && defined(_WIN32)
#define OSTREL_API __declspec(dllexport)
#elif defined(OSTREL_BUILDING_LIBRARY)
#define OSTREL_API __attribute__((visibility("default")))
#elif defined(_WIN32)
#define OSTREL_API __declspec(dllimport)
#else
#define OSTREL_API
#endif

#ifdef __cplusplus
#define OSTREL_NOEXCEPT noexcept
extern "C" {
#else
#define OSTREL_NOEXCEPT
#endif

/* The type of every export, for a program that looks them up by name. */
typedef float (*OstrelExport)(const char* text, double value, char* memBlock, int memBlockSize);

/* ---- Meshes ---- */

/*
 * AlignVertices_Tev: snaps the coordinates near 0 on one axis of a Tev file's vertices to 0, in
 * place. text: The Tev file to change where it lies; it must exist and be writable. Its points
 * block is found by walking the block chain from byte 32 (blocks of other tags are skipped by their
 * size); only the coordinates that change are written, and the file keeps its length and every
 * other byte. value: Axis and tolerance in one number: the axis is trunc(value) held to 1..3 (1 x,
 * 2 y, 3 z), the tolerance is value minus that axis, narrowed to float. Every coordinate c of that
 * axis with -tolerance <= c <= tolerance becomes +0: 1.05 snaps x within 0.05, 2.5 y within 0.5,
 * 5.25 z within 2.25. A negative or NaN tolerance (0.4 gives axis 1, tolerance -0.6) snaps nothing;
 * a NaN coordinate is never snapped; tolerance 0 turns only -0 into +0. Success: 0, also when no
 * coordinate changed. Failure: -2, -1760, -18, -401, -1000.
 */
OSTREL_API float AlignVertices_Tev(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * SwapVertices_Tev: copies the vertex positions of a points file into a Tev file, in place. text:
 * The points file (.Tvt, as SplitOBJtoTev and ListSplitOBJtoTev write it) that gives the positions:
 * a 16-byte header (tag, not compared; size; count; 0), then x, y, z as little-endian floats, 12
 * bytes per vertex. It must be a regular file that may be opened for reading and writing; it is not
 * changed. memBlock: The Tev file changed where it lies. Its points block, found by walking the
 * block chain from byte 32, gets the points file's positions bit for bit, vertex i for vertex i;
 * only the bytes that differ are written, and the file keeps its length and every other byte. The
 * points file's size field must equal the block's size field and its count the block's count, so a
 * block with bytes beyond 12 per vertex matches no points file. Success: 0. Failure: -2, -1760,
 * -18, -201, -301, -401, -1000.
 */
OSTREL_API float SwapVertices_Tev(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * addTevFile: appends one Tev file's points, faces and polygroups to the mesh buffers. text: The
 * Tev file to append. From byte 32 its block chain is walked to the points block (tag 10001, x, y,
 * z floats per vertex), from there to the faces block (20001, four signed 32-bit corner indices per
 * face from 0, a negative fourth one for a triangle), and from there to the polygroups block
 * (40001, a 16-bit group id per entry); blocks of other tags are skipped by their size. value: The
 * vertex offset, trunc: the number of vertices already in the buffers, the sum of the answers of
 * the appends since clearVectors (0 for the first). It is added to every corner index of 0 or more
 * (wrapping at 32 bits); negative corners stay as they are. Below 0 after trunc is refused (-0.5
 * gives 0 and is accepted). Success: The number of vertices appended, the points block's count (0
 * or more). Failure: -1, -9, -1760, -18, -27, -36, -1000.
 */
OSTREL_API float addTevFile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * clearVectors: empties the mesh buffers and resets the running group id. Success: 0.
 */
OSTREL_API float clearVectors(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * getFaceIDs: builds the face-id list by which tevtoOBJ groups faces, from a base mesh. text: The
 * base mesh: a Tev file whose first block (at byte 32) is taken as a faces block whatever its tag:
 * its count at bytes 40..43, then 16-byte face records from byte 48; a record whose fourth corner
 * is negative is a triangle. The records are read a slice at a time. value: The subdivision level,
 * used as a double: each base face stands for trunc(4^(level - 1)) times its corner count output
 * faces (level 1: 3 for a triangle, 4 for a quad; level 2: 12 and 16; level 3: 48 and 64). Below 1,
 * or NaN, every entry is 0; an entry is at most 4,294,967,295. Success: The number of base faces
 * read (0 or more), the length of the face-id list. Failure: -9, -1760, -18, -1000.
 */
OSTREL_API float getFaceIDs(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * tevtoOBJ: converts a Tev file with vertex colours into OBJ text, its faces grouped by face id.
 * text: The Tev file to convert, read whole. The points block (tag 10001) must stand at byte 32,
 * the vertex colours block (35001, 4 bytes per entry: blue, green, red, unused) right after the
 * 12-byte points, and the faces block (20001) right after the colour entries; the faces block's
 * size, not its count, says how many 16-byte face records it holds. memBlock: The OBJ file to
 * write, created or replaced; it may not be the Tev file. Its lines: # File exported by Kelmor
 * plugin, #Vertex count  and the vertex count, #Face count  and the count field of the third block
 * (found by the first two blocks' sizes), v x y z per vertex (%g with 6 significant digits), the
 * colour comment block (as outMRGB writes it), then for each face-id entry k from 1 a #FaceID k
 * line and as many face lines as the entry says, while face records remain: f a b c  (with a
 * trailing space) for a triangle, f a b c d for a quad, indices from 1. Lines end in CR LF on
 * Windows and in LF elsewhere. Success: 0 when the conversion is complete. Where an expected block
 * is missing the answer is the tag found there, 0 or more (its 32 bits taken as unsigned; an end
 * block gives 0, like success): at byte 32 no OBJ is created; in place of the colours block the OBJ
 * holds the header and vertex lines, in place of the faces block also the colour block (an old OBJ
 * is replaced). A file from vectorsToTev has no colours block and answers 20001. Failure: -9, -18,
 * -1760, -20, -2, -1000.
 */
OSTREL_API float tevtoOBJ(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * outMRGB: writes the vertex colours of a Tev colours block as OBJ comment lines. text: The input
 * file, read a slice of entries at a time: its first block (at byte 32) is taken as a vertex
 * colours block whatever its tag, its count at bytes 40..43 and 4-byte entries (blue, green, red,
 * unused) from byte 48. memBlock: The text file to write, created or replaced; it may not be the
 * input. It holds the colour comment block alone: the line # The following RGB block contains
 * Kelmor Vertex Color (Pigmesh) output as 3 hexadecimal values per vertex. The vertex color format
 * is RRGGBB with up to 32 entries per RGB line., lines of #RGB  and up to 32 entries, each a space
 * and rrggbb in lowercase hexadecimal, a line end (so an empty line when the count is a multiple of
 * 32, 0 included), and # End of RGB block. Lines end in CR LF on Windows and in LF elsewhere.
 * Success: 0. Failure: -9, -1760, -2, -20, -1000.
 */
OSTREL_API float outMRGB(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * setGroups: chooses whether appended Tev files keep their own polygroup ids. value: 0 or above:
 * trunc, stored as isGroups (0.9 stores 0). Nonzero: each file addTevFile appends keeps the group
 * ids it stores; 0: all faces of an appended file get that append's running id. Below 0, or NaN, is
 * refused. Success: 0. Failure: -1.
 */
OSTREL_API float setGroups(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * vectorsToTev: writes the mesh buffers as one Tev file and empties them. text: The Tev file to
 * write, created or replaced: the 32-byte header Tevb 1.0 Kelmor Tev Binary......, a points block
 * (tag 10001), a faces block (20001) and a polygroups block (40001), each a 16-byte header (tag,
 * size with the header, count, 0) and the buffer's values in append order, then an end block of 16
 * zero bytes. Success: 0. Failure: -9, -5, -6, -1760, -1000.
 */
OSTREL_API float vectorsToTev(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/* ---- OBJ files and groups ---- */

/*
 * AppendOBJ: appends an OBJ file to another as one new group and records it in the group list.
 * text: The OBJ file S to append. Its group name G is its file name without the folder (after the
 * last / or \) and without the extension (from the last .): parts/leg.part.obj gives leg.part. S's
 * v  lines are appended as they are, each g line becomes g G, each face line becomes f  and, for
 * each vertex number k, V + k and a space (f 11 12 13 ); every other line is dropped. Face vertex
 * numbers are read up to each corner's first / (texture and normal numbers are dropped); a negative
 * number counts back from the vertex lines before the face. value: The vertex shift V, trunc: the
 * number of vertex lines already in the target (0 for an empty or missing target; pass each call's
 * answer to the next). All faces of S are shifted by the same V. memBlock: The target OBJ T:
 * rebuilt as its old bytes (with a line end added when its last line lacks one) followed by S's
 * lines, and replaced all at once; created when missing. Lines end in CR LF on Windows and in LF
 * elsewhere. Success: V plus the number of vertex lines appended. Failure: -9, -1, -3, -2, -7,
 * -1000.
 */
OSTREL_API float AppendOBJ(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * CheckName: makes a name unique among the names it has handed out. text: The proposed name,
 * compared byte for byte (case matters). memBlock: Receives the unique name and its NUL: the name
 * itself when it has not been handed out; otherwise the stem and the lowest number from 1 that
 * gives a name not handed out, the stem being the name cut just after its first _copy, or the name
 * with _copy added (head taken: head_copy1, then head_copy2; arm_copy7 taken: arm_copy1). A
 * positive memBlockSize must leave room for the whole unique name and its NUL (the longest answer
 * is the name with _copy and a number added): a name is never handed back cut. Success: 0. Failure:
 * -1, -2, -1000.
 */
OSTREL_API float CheckName(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * ClearNameSet: forgets every name CheckName has handed out. Success: 0.
 */
OSTREL_API float ClearNameSet(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * CreateFacesList: builds the table of group names and face counts from the group list. Success: 0.
 * Failure: -5, -1000.
 */
OSTREL_API float CreateFacesList(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GetFaces: answers the face count of one named group from the faces table. text: The group name,
 * compared byte for byte with the table's names. Success: The group's face count, 0 or more for
 * records made by GroupListAdd or AppendOBJ (a loaded record whose end lies before its start gives
 * a negative count). Failure: -1, -1000.
 */
OSTREL_API float GetFaces(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GroupListAdd: adds a named group of a number of faces to the group list. text: The group name;
 * only its first 127 bytes are kept. Names are not checked for repeats. value: The group's face
 * count, trunc; 0 or below is refused (0.9 and NaN too). ListSplitOBJtoTev reads the count as the
 * record's number of vertices. Success: 0. Failure: -2, -1, -1000.
 */
OSTREL_API float GroupListAdd(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GroupListClear: empties the group list and the faces table. Success: 0.
 */
OSTREL_API float GroupListClear(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GroupListGetName: copies the name of one group-list record into memBlock. value: The record index
 * from 0: above -1 it is taken by trunc (-0.5 gives 0, large values saturate); -1 or below, or NaN,
 * is refused. memBlock: Receives the record's name and its NUL, at most 128 bytes in all, or the
 * text null when the index is at or past the end of the list (an empty list included). Success: 0.
 * Failure: -1.
 */
OSTREL_API float GroupListGetName(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GroupListLoad: replaces the group list with the records of a group-list file. text: The
 * group-list file to read, as GroupListSave writes it: 136-byte records without a header, each a
 * 128-byte name field and startFace and endFace as little-endian signed 32-bit integers. A trailing
 * partial record is ignored; a name field without a NUL ends at byte 127. Success: 0. Failure: -9,
 * -3, -1000.
 */
OSTREL_API float GroupListLoad(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GroupListSave: writes the group list to a group-list file. text: The file to write, created or
 * replaced: every record in list order as 136 bytes, a 128-byte name field (the name, then zeros)
 * and startFace and endFace as little-endian signed 32-bit integers; no header, so two records make
 * 272 bytes. Success: 0. Failure: -9, -1, -3, -1000.
 */
OSTREL_API float GroupListSave(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GroupListSize: answers the number of records in the group list. Success: The number of records, 1
 * or more; an empty list answers -1, never 0. Failure: -1.
 */
OSTREL_API float GroupListSize(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * ListSplitOBJtoTev: hands a Tev mesh's vertices out in runs to the group-list records as points
 * files. text: The Tev mesh file (not an OBJ). Its points block is found by walking the block chain
 * from byte 32; its positions are copied bit for bit, a run at a time, so memory holds neither the
 * mesh nor the block. memBlock: A path in the output folder; only its folder part is used,
 * everything up to the last / or \ (none: the current folder). For each record, in list order, a
 * new points file <name>.Tvt is written there: a 16-byte header (tag 10001, size 16 + 12n, count n,
 * 0) and the next n = endFace - startFace vertices of the block, 12 bytes each; the runs follow one
 * another from the block's first vertex, whatever startFace says, and vertices after the last run
 * go nowhere. The record name is made safe for a file name: /, \ and NUL become _; on Windows so do
 * :*?"<>| and control characters, and a device name such as CON gets a leading _. An output never
 * replaces anything: when the name is taken (by a file, a link, even a dangling one, or a folder),
 * <name>_copy1.Tvt, <name>_copy2.Tvt, ... are tried, at most 100,000. A repeated record name so
 * gets <name>_copy1.Tvt. Success: 0. Failure: -2, -5, -1760, -18, -32, -3, -1000.
 */
OSTREL_API float ListSplitOBJtoTev(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * ListSplitOBJtoOBJ: splits a combined OBJ file by the group list's face ranges into vertex-only
 * OBJ files. text: The combined OBJ file to split, as AppendOBJ builds it. Its face lines are
 * counted from 0 and handed to the records in list order: the faces before the first record's
 * endFace go to it, those before the next record's endFace to the next, one record per face at
 * most; startFace is not read, and the faces after the last range go to the last record. Face
 * vertex numbers are read up to each corner's first / (texture and normal numbers are dropped); a
 * negative number counts back from the vertex lines before the face. g lines and every line other
 * than v  and f lines are ignored. memBlock: A path in the output folder; only its folder part is
 * used, everything up to the last / or \ (none: the current folder). For each distinct record name,
 * in byte order of the names, a new file <name>.obj is written there, holding the vertex lines, as
 * read, that the faces of that name's first record use, in ascending order, and no face lines; a
 * record without faces gives an empty file, and the faces of later records of the same name reach
 * no file. The name is made safe for a file name: /, \ and NUL become _; on Windows so do :*?"<>|
 * and control characters, and a device name such as CON gets a leading _. An output never replaces
 * anything: when the name is taken (by a file, a link, even a dangling one, or a folder),
 * <name>_copy1.obj, <name>_copy2.obj, ... are tried, at most 100,000. Lines end in CR LF on Windows
 * and in LF elsewhere. Success: 0. Failure: -2, -5, -1, -7, -3, -1000.
 */
OSTREL_API float ListSplitOBJtoOBJ(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * PoserExportOBJ: puts exported vertex positions back into a figure's source OBJ, written over the
 * export. text: The figure's source OBJ S, read and not changed. The vertex numbers of its faces
 * tell which vertex lines are used. Face vertex numbers are read up to each corner's first /
 * (texture and normal numbers are dropped); a negative number counts back from the vertex lines
 * before the face. memBlock: The OBJ P with the new positions: one v  line per vertex S's faces
 * use, in ascending order of S's numbers (its other lines are ignored). P is replaced by the
 * result: # file written by Kelmor 2X5 Halvrin plugin, # https://www.kelmor.example, #Vertex Count
 * and S's vertex line count, #Face Count  and S's face line count, every vertex line of S with the
 * k-th used one replaced by P's k-th, then S's other lines except comments (# lines), negative face
 * numbers made absolute. P may be S itself. Lines end in CR LF on Windows and in LF elsewhere.
 * Success: 0. Failure: -1, -7, -11, -100, -3, -1000.
 */
OSTREL_API float PoserExportOBJ(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * ScaleUVs: copies an OBJ file with its texture coordinates scaled about the centre of the UV
 * square. text: The OBJ file to read. Lines that start with vt are rewritten; every other line is
 * copied unchanged. value: The scale factor s, used as a double. When s > 0, u and v of each vt
 * line become c * s + o with o = (1 - s) / 2 narrowed to float, the result narrowed to float, so
 * 0.5 stays put (s = 0.5 makes vt 0 1 into vt 0.25 0.75 ). With s 0 or below, or NaN, the values
 * stay but the lines are still rewritten. memBlock: The OBJ file to write, created or replaced; it
 * may be the input itself, which is replaced once the result is complete. Each vt line is written
 * as vt u v  (%g with 6 significant digits, a space after each; a third coordinate is dropped, a
 * missing one read as 0). Lines end in CR LF on Windows and in LF elsewhere. Success: 0. Failure:
 * -3, -1, -2, -1000.
 */
OSTREL_API float ScaleUVs(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * SplitOBJ: splits an OBJ file into one OBJ file per group. text: The OBJ file to split. A g line
 * names a group: the line from its third character on, taken whole; a name met again continues its
 * group. Faces before the first g line belong to the first group named; a file without g lines
 * gives no output. Face vertex numbers are read up to each corner's first / (texture and normal
 * numbers are dropped); a negative number counts back from the vertex lines before the face. Lines
 * other than v , f and g lines are ignored. memBlock: A path in the output folder; only its folder
 * part is used, everything up to the last / or \ (none: the current folder). For each group, in
 * byte order of the names (Zed before arm), a new file <group>.obj is written there: the vertex
 * lines its faces use, as read, in ascending order, then each face as f  and, per corner, a space
 * and its new number from 1 (f  1 2 3); no group, material or texture lines. The group name is made
 * safe for a file name: /, \ and NUL become _; on Windows so do :*?"<>| and control characters, and
 * a device name such as CON gets a leading _. An output never replaces anything: when the name is
 * taken (by a file, a link, even a dangling one, or a folder), <group>_copy1.obj,
 * <group>_copy2.obj, ... are tried, at most 100,000. Lines end in CR LF on Windows and in LF
 * elsewhere. Success: 0. Failure: -2, -1, -7, -3, -1000.
 */
OSTREL_API float SplitOBJ(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * SplitOBJtoTev: splits an OBJ file into one points file per group. text: The OBJ file to split. A
 * v  line's first three numbers are its x, y and z, read as floats (missing ones are 0). A g line
 * names a group: the line from its third character on, taken whole; a name met again continues its
 * group. Faces before the first g line belong to the first group named; a file without g lines
 * gives no output. Face vertex numbers are read up to each corner's first / (texture and normal
 * numbers are dropped); a negative number counts back from the vertex lines before the face. Lines
 * other than v , f and g lines are ignored. memBlock: A path in the output folder; only its folder
 * part is used, everything up to the last / or \ (none: the current folder). For each group, in
 * byte order of the names, a new points file <group>.Tvt is written there: a 16-byte header (tag
 * 10001, size 16 + 12n, count n, 0) and x, y, z as little-endian floats for each of the n vertices
 * its faces use, in ascending order; a group without faces gives a 16-byte file of count 0. The
 * group name is made safe for a file name: /, \ and NUL become _; on Windows so do :*?"<>| and
 * control characters, and a device name such as CON gets a leading _. An output never replaces
 * anything: when the name is taken (by a file, a link, even a dangling one, or a folder),
 * <group>_copy1.Tvt, <group>_copy2.Tvt, ... are tried, at most 100,000. Success: 0. Failure: -2,
 * -1, -7, -3, -1000.
 */
OSTREL_API float SplitOBJtoTev(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * SwapVertices: rewrites an OBJ file with its own vertex lines and everything else of another OBJ.
 * text: OBJ file A, whose v  lines are kept, as read and in order, and which is replaced by the
 * result: # written by Halvrin plugin for Kelmor, A's vertex lines, then every line of B except its
 * vertex lines and comments (# lines), in B's order, with negative face vertex numbers made
 * absolute. A's other lines are lost; a refused call changes neither file. Lines end in CR LF on
 * Windows and in LF elsewhere. memBlock: OBJ file B, read and not changed, which gives the texture
 * coordinates, normals, groups, materials and faces; it must have as many v  lines as A. Its face
 * numbers are not checked. B may be A itself. Success: 0. Failure: -2, -4, -8, -16, -32, -64, -128,
 * -1000.
 */
OSTREL_API float SwapVertices(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * getDaxFile: writes the group-list payload behind a container's end block to a file of its own.
 * text: The container file, read and not changed: laid out as a Tev file, its block chain is walked
 * from byte 32 (each 16-byte header: tag, then size with the header; size 0 steps 16 bytes) to the
 * first end block (tag 0); the payload is everything from 16 bytes after that block's start to the
 * end of the file. memBlock: The file to write, created or replaced; it may not be the container.
 * It receives exactly the payload bytes, a group-list file for GroupListLoad. Success: 0. Failure:
 * -9, -3, -18, -5, -1000.
 */
OSTREL_API float getDaxFile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/* ---- Project and package ---- */

/*
 * AddDatFile: appends a data file to a project file as one chunk. text: The data file to store,
 * read whole and left as it is; it must be shorter than 4 GiB - 32 bytes. Its base name (after the
 * last / or \, cut before its last .) must start, after any white space, with a decimal number of 0
 * to 4,294,967,295 without a sign: the chunk number, under which OpenNEWPrjFile unpacks it (7X.dat
 * and 7.dat both give 7). value: The chunk's kind: below 0 is refused with -16; otherwise trunc
 * (NaN gives 0). Kind 0 unpacks to a .dat name, any other kind to a .dax name. memBlock: The
 * project file, extended where it lies by one chunk: a 32-byte header (VD version 03 and zeros to
 * 16 bytes, then the chunk number, the data length + 32, 0 and the kind, 32-bit little-endian), the
 * data file's bytes, and one filler byte (a repeat of the last data byte, 0 for an empty file). It
 * is only appended to, so WritePrjFile must have written the header and references first (a missing
 * file is created holding the chunk alone), and a file stored twice is stored as two chunks. A
 * failed append leaves the project at its old length. Success: 0, also when text or memBlock is
 * null (nothing is then done). Failure: -16, -4, -1, -2, -1000.
 */
OSTREL_API float AddDatFile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * AddTPoseRef: appends a T-pose reference (number, name, information text) to the T-pose list.
 * text: The reference's name, the key that GetTPoseRef looks up; bytes after the 254th are dropped.
 * value: The reference's number: 0 or below is refused with -1; otherwise trunc, so values below 1
 * and NaN store 0, and 2,147,483,647 or more store 2,147,483,647. memBlock: The reference's
 * information text, read (not written), which GetTPoseRef hands back; bytes after the 254th are
 * dropped. Success: 0. Failure: -1, -2, -1000.
 */
OSTREL_API float AddTPoseRef(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * ClearTPoseList: empties the T-pose list and sets both project headers to 0. Success: 0.
 */
OSTREL_API float ClearTPoseList(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GetPrjModfier: answers the modifier of the current project or of the old-layout project last
 * opened. value: The selector: above 0 asks for the current project's modifier (set by
 * SetPrjModfier or loaded by OpenNEWPrjFile); 0 or below, or NaN, for the modifier of the project
 * last loaded by OpenPrjFile. Success: The modifier asked for, 0 or more, an unsigned 32-bit number
 * as a float (exact up to 16,777,216); 0 when none was set or loaded, or after ClearTPoseList.
 * There is no failure.
 */
OSTREL_API float GetPrjModfier(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GetTPoseRef: looks a T-pose reference up by name: answers its number, writes its information
 * text. text: The name to look up, compared whole and byte for byte (case counts) with the stored
 * names; the first reference of that name wins. Stored names hold at most 254 bytes, so a longer
 * text never matches. memBlock: Receives the matching reference's information text and its NUL, at
 * most 255 bytes; left as it was when nothing matches. Success: The reference's number, 0 or more,
 * as a float (exact up to 16,777,216). Failure: -5, -1.
 */
OSTREL_API float GetTPoseRef(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * OpenNEWPrjFile: loads a project file's header and references and unpacks its data files. text:
 * The project file in the current layout, read whole and left as it is: a 32-byte header (a 16-byte
 * tag, not checked; two reserved words; the reference count; the modifier), that many 516-byte
 * records (the number; the name and the information text in 255 bytes each, NUL-terminated; 2
 * bytes), then the chunks AddDatFile appends, each a 32-byte header (chunk number at 16, chunk
 * length = data length + 32 at 20, kind at 28), the data and one filler byte. Integers are 32-bit
 * little-endian. memBlock: A path whose folder part (up to and including its last / or \; without
 * one, the current folder) receives the data files; the rest of the path is ignored. Chunk n
 * becomes nX.dat (kind 0) or nX.dax (any other kind) in that folder, n in decimal; an existing file
 * of that name is replaced, and a later chunk of the same name replaces an earlier one's file. A
 * file that cannot be created at all (its folder is missing, or a folder or other non-regular file
 * has the name) is passed over without a code. Success: 0, also when text or memBlock is null
 * (nothing is then done). Failure: -17, -19, -20, -21, -1000.
 */
OSTREL_API float OpenNEWPrjFile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * OpenPrjFile: loads an old-layout project file's references and unpacks its data files. text: The
 * project file in the old layout, read whole and left as it is: a 16-byte header (two reserved
 * words, the reference count, the modifier), that many 516-byte records as in the current layout,
 * then chunks of a 16-byte header (chunk number at 0, chunk length = data length + 16 at 4), the
 * data and one filler byte. Integers are 32-bit little-endian. memBlock: A path whose folder part
 * (up to and including its last / or \; without one, the current folder) receives the data files;
 * the rest of the path is ignored. Chunk n becomes nX.dat in that folder (old chunks have no kind),
 * n in decimal; an existing file of that name is replaced, and a later chunk of the same number
 * replaces an earlier one's file. A file that cannot be created at all (its folder is missing, or a
 * folder or other non-regular file has the name) is passed over without a code. Success: 0, also
 * when text or memBlock is null (nothing is then done). Failure: -17, -19, -20, -21, -1000.
 */
OSTREL_API float OpenPrjFile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#if defined(OSTREL_BUILD_WINDOWS) || defined(OSTREL_BUILD_LINUX)

/*
 * OpenQPP: unpacks a scene package into the slot files of a base path. text: The package file that
 * SaveQPP writes, read whole, and its size table (the package path with its last three bytes
 * replaced by dat), of which the first 104 bytes are read: 26 signed 32-bit little-endian sizes in
 * slot order. Neither is changed. The path must be at least 3 bytes long and not end in dat.
 * memBlock: The base path. Each slot whose size is above 0, in slot order, is written to the base
 * path followed by the slot's suffix (1.kel 1.dat .kel .dat 2.kel 2.dat 3.kel ... 12.kel 12.dat),
 * created or replaced, with the next that many bytes of the package; a slot of size 0 creates no
 * file and leaves an existing one alone. Bytes of the package beyond the sizes' total are ignored.
 * Neither the package nor its size table may be one of these 26 files. Success: 0. Failure: -1, -3,
 * -15, -12, -9, -13, -5, -1000.
 */
OSTREL_API float OpenQPP(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * SaveQPP: packs the slot files of a base path into a scene package and its size table. text: The
 * base path: slot k's file is the base path followed by its suffix, in the order 1.kel 1.dat .kel
 * .dat 2.kel 2.dat 3.kel ... 12.kel 12.dat (26 slots). Each slot file that can be opened is read
 * whole (it must be under 2 GiB) and left as it is; one that is missing or cannot be opened is
 * passed over with size 0. memBlock: The package path. The package file is created or replaced with
 * the packed files' bytes back to back in slot order, without a header; then its size table, the
 * package path with its last three bytes replaced by dat, is created or replaced with 26 signed
 * 32-bit little-endian sizes in slot order (104 bytes; 0 for a slot passed over or empty). The path
 * must be at least 3 bytes long and not end in dat, and neither file may be one of the slot files.
 * Success: 0, also when no slot file exists (an empty package and 104 zero bytes). Failure: -1, -3,
 * -5, -15, -1000.
 */
OSTREL_API float SaveQPP(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#endif

/*
 * SetPrjModfier: sets the current project's modifier. value: The modifier: above 0, trunc (0.5
 * gives 0; 2,147,483,647 or more gives 2,147,483,647); 0 or below, or NaN, is refused with -1.
 * Success: 0. Failure: -1.
 */
OSTREL_API float SetPrjModfier(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * WritePrjFile: writes the project header and the T-pose references as a new project file. text:
 * The project file, created or replaced whole: a 32-byte header (the tag VD version 03 and zeros to
 * 16 bytes; the two reserved words of the last current-layout project loaded, else 0; the reference
 * count; the modifier), then one 516-byte record per reference in list order (the number; the name
 * and the information text in 255 bytes each, zeros after the text; 2 zero bytes). Integers are
 * 32-bit little-endian. Data files stored in a file it replaces are dropped: append them again with
 * AddDatFile. Success: 0. Failure: -3, -1, -17, -1000.
 */
OSTREL_API float WritePrjFile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/* ---- Textures ---- */

/*
 * CreateThumbnail: replaces an RGB PSD file with an n x n thumbnail of it. text: The PSD file,
 * replaced by its thumbnail. It must be of version 1, without colour-mode data, with raw image data
 * and 3 or more channels of 8 bits, the first three taken as red, green and blue. The result keeps
 * its header (rows and columns set to n, channels to 3), image resources, layer and mask
 * information and compression field, followed by three planes of n x n bytes; further channels are
 * dropped. value: The thumbnail's side n in pixels: trunc, 1 to 30,000. The image is subsampled,
 * not filtered, with one whole step s for both directions (the longer side / n, integer division,
 * at least 1; the width for an image no taller than wide), one more source column or row skipped at
 * even intervals to use up the remainder; it fills the square along that side and is centred on the
 * other between black bands. When n exceeds both sides the image is not scaled: it is centred along
 * its shorter side only (at the left or top along the other), the band before it repeating its
 * first row (an image no taller than wide) or each row's first pixel, and black beyond it. Success:
 * 0. Failure: -8, -1, -2, -3, -4, -11, -12, -5, -1000.
 */
OSTREL_API float CreateThumbnail(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * CropBMP_SetWidth: sets the width in pixels of the strip that CropBMPfile cuts. value: The strip
 * width in pixels, narrowed to float and kept; CropBMPfile truncates it and refuses a width below 1
 * (NaN included) or one that reaches past the image with -12. Success: 0.
 */
OSTREL_API float CropBMP_SetWidth(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * CropBMPfile: cuts a vertical strip out of a 24-bit BMP file into a new BMP file. text: The input
 * BMP, read whole and left as it is (unless it is also the output). It must start with BM, hold at
 * least the 54 bytes of its headers, have its pixels at an offset of 54 or more inside the file, 24
 * bits per pixel, a width of 0 or more, a height of 3 or more (a top-down file, of negative height,
 * is refused), and all its rows (width x 3 bytes, padded to a multiple of 4) inside the file. The
 * compression field is not read. value: The strip's left edge in pixels, trunc. The strip, as wide
 * as the crop width set by CropBMP_SetWidth (truncated), must lie inside the image: left edge 0 or
 * more, width 1 or more, left edge + width at most the image's width. memBlock: The output BMP,
 * created or replaced: the input's bytes before its pixels (headers and any colour table) with the
 * file size, width, height (the input's height - 3) and image size rewritten, then the strip of
 * stored rows 1 to height - 3 in stored order (the first row and the last two are dropped), each
 * row padded with zeros to a multiple of 4 bytes. It may name the input, which is then replaced
 * once the output is complete. Success: 0. Failure: -1760, -7, -8, -10, -11, -12, -5, -1000.
 */
OSTREL_API float CropBMPfile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#if defined(OSTREL_BUILD_WINDOWS) || defined(OSTREL_BUILD_LINUX)

/*
 * FixEdgesPSD: closes black gaps beside coloured areas of an RGB PSD file by up to three pixels.
 * text: The PSD file, read whole and replaced with the result. It must be of version 1, without
 * colour-mode data, with raw image data and 3 or more channels of 8 bits, the first three taken as
 * red, green and blue. It needs at least 100 rows and columns. A pixel is black when its three
 * samples are 0. Four passes, each over what the ones before left, give black pixels the colour of
 * a neighbour: leftwards (the last three pixels of a black run that ends left of a coloured pixel),
 * rightwards (the first three black pixels right of a coloured pixel in its row), then upwards and
 * downwards likewise by up to three rows (scanning rows 2 to rows - 2 and 3 to rows - 2), so a lone
 * coloured pixel at least four pixels from every edge grows to a 7 x 7 square. All else, further
 * channels included, is kept byte for byte. Success: 0; an image without black pixels, or an
 * all-black one, is written back unchanged. Failure: -1, -2, -3, -4, -11, -12, -9, -5, -1000.
 */
OSTREL_API float FixEdgesPSD(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * HealImportFile: repeats rows 4 and rows-3 over a PSD file's top three and bottom two rows, in
 * place. text: The PSD file, changed where it lies. It must be of version 1, without colour-mode
 * data, with raw image data and 3 or more channels of 8 bits, the first three taken as red, green
 * and blue. It needs at least 100 rows and columns, and its header sections must end within its
 * first 1000 bytes. In each of the first three planes rows 0, 1 and 2 become copies of row 4, and
 * the last two rows copies of row rows - 3; row 3, further channels and every other byte stay, and
 * the length is unchanged. Only those rows are read and written, and a failure puts the old bytes
 * back. Success: 0. Failure: -1, -2, -3, -4, -11, -12, -9, -201, -1000.
 */
OSTREL_API float HealImportFile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#endif

/*
 * HealPSDfiles: heals one PSD file's edges with pixels from near row or column 50 of another. text:
 * File A, the source of the pixels; its path receives the result, which replaces A: B's file
 * (header, sections, further channels) with B's edges taken from A. Both files must be of version
 * 1, without colour-mode data, with raw image data and 3 or more channels of 8 bits, the first
 * three taken as red, green and blue. A needs at least 100 rows and columns, and is checked before
 * B is opened. value: Above 0 heals the left and right edges: in rows 2 to rows - 2, B's columns 0
 * and 1 take A's columns 50 and 51, and B's last two columns A's columns 48 and 49. 0 or below, or
 * NaN, heals the top and bottom: B's rows 0 to 9 take A's rows 50 to 59, and B's last ten rows A's
 * rows 40 to 49. Each in all three planes; every other pixel is B's. memBlock: File B, with A's
 * rows and columns; read and left as it is (unless it names A). Each file is read from its own
 * image data, so their sections may differ in length. Success: 0. Failure: -1, -2, -3, -4, -11,
 * -12, -9, -6, -5, -1000.
 */
OSTREL_API float HealPSDfiles(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * MakeStencilPSD: gives every pixel of an RGB PSD file that is not the key colour a new colour.
 * text: The PSD file, replaced with the result. It must be of version 1, without colour-mode data,
 * with raw image data and 3 or more channels of 8 bits, the first three taken as red, green and
 * blue. Every pixel whose three samples do not all equal the key colour's components takes the new
 * colour; pixels of the key colour, the header, the sections and further channels are kept byte for
 * byte. value: The new colour, R x 65536 + G x 256 + B (0 to 16,777,215), narrowed to float and
 * split in single precision: R = colour / 65536, G and B from the rest, each truncated toward zero
 * (NaN gives 0). Each component is written as its low 8 bits. Success: 0. Failure: -1, -2, -3, -4,
 * -11, -12, -5, -1000.
 */
OSTREL_API float MakeStencilPSD(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * MergePSDfiles: lays the pixels of one PSD file that are not the key colour over another's. text:
 * File A, the painted file; its path receives the result, which replaces A: B's file (header,
 * sections, further channels) with A's pixel wherever A's pixel is not the key colour. Both files
 * must be of version 1, without colour-mode data, with raw image data and 3 or more channels of 8
 * bits, the first three taken as red, green and blue. A is checked before B is opened. value: The
 * key colour, R x 65536 + G x 256 + B, narrowed to float and split in single precision: R = colour
 * / 65536, G and B from the rest, each truncated toward zero (NaN gives 0). A pixel of A is of the
 * key colour when its three samples equal the components; a key with a component outside 0 to 255
 * (a colour of -1 or below, or above 16,777,215) matches nothing, and A shows everywhere. memBlock:
 * File B, the base, with A's rows and columns; read and left as it is (unless it names A). Each
 * file is read from its own image data, so their sections may differ in length. Success: 0.
 * Failure: -1, -2, -3, -4, -11, -12, -6, -5, -1000.
 */
OSTREL_API float MergePSDfiles(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * RGBtoGrayscale: writes a one-channel grayscale copy of an RGB PSD file, with a black level. text:
 * The input PSD file, read and left as it is (unless it is also the output). It must be of version
 * 1, without colour-mode data, of colour mode 3 (RGB), with raw image data and 3 or more channels
 * of 8 bits, the first three taken as red, green and blue. value: The black level: below 0 gives 0,
 * above 255 gives 255, otherwise trunc (NaN gives 0). A pixel's gray g = trunc(R x 0.333 + G x
 * 0.333 + B x 0.333 + 0.5), at most 255; then 255 stays 255, a g at or below the level becomes 0,
 * and any other g becomes g - (level - 1) x (255 - g) / (255 - level), the quotient truncated
 * toward zero, at least 0. Level 0 keeps every gray value; level 255 turns all but 255 to 0.
 * memBlock: The output PSD file, created or replaced: the input's header with channels set to 1 and
 * colour mode to 1 (grayscale), its image resources, layer and mask information and compression
 * field unchanged, then one plane of rows x columns gray bytes; every input plane is dropped. It
 * may name the input, which is then replaced once the output is complete. Success: 0. Failure: -1,
 * -2, -3, -4, -11, -12, -5, -1000.
 */
OSTREL_API float RGBtoGrayscale(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * SetInColor: sets the key colour of SwapColorsPSD and MakeStencilPSD. value: The key colour, R x
 * 65536 + G x 256 + B, narrowed to float and kept. SwapColorsPSD and MakeStencilPSD split it in
 * single precision: R = colour / 65536, G and B from the rest, each truncated toward zero (NaN
 * gives 0). A pixel is of the key colour when its three samples equal the components; a key with a
 * component outside 0 to 255 (a colour of -1 or below, or above 16,777,215) matches no pixel.
 * Success: 0.
 */
OSTREL_API float SetInColor(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * SwapColorsPSD: gives every pixel of an RGB PSD file that is the key colour a new colour. text:
 * The PSD file, replaced with the result. It must be of version 1, without colour-mode data, with
 * raw image data and 3 or more channels of 8 bits, the first three taken as red, green and blue.
 * Every pixel whose three samples equal the key colour's components takes the new colour; other
 * pixels, the header, the sections and further channels are kept byte for byte. value: The new
 * colour, R x 65536 + G x 256 + B (0 to 16,777,215), narrowed to float and split in single
 * precision: R = colour / 65536, G and B from the rest, each truncated toward zero (NaN gives 0).
 * Each component is written as its low 8 bits. Success: 0. Failure: -1, -2, -3, -4, -11, -12, -5,
 * -1000.
 */
OSTREL_API float SwapColorsPSD(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/* ---- Files and desktop ---- */

/*
 * CloseFolder: ends the folder listing that OpenFolder started. Success: 0. Failure: -1.
 */
OSTREL_API float CloseFolder(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * CreateFolder: makes one folder. text: The folder to make, one level: its parent must exist, and a
 * folder or file that already has the name is left as it is (-1). On Windows the path is in the
 * ANSI code page; on Linux the folder gets the mode 0777 less the process's umask; on macOS the
 * file manager makes it, and text that is not UTF-8 makes nothing. Success: 0 when the folder was
 * made. Failure: -1.
 */
OSTREL_API float CreateFolder(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#if defined(OSTREL_BUILD_WINDOWS)

/*
 * DispSizeH: the desktop's width in pixels. Success: The desktop width in pixels: the right edge of
 * the desktop window's rectangle, as Windows reports it to the host's process (which depends on the
 * host's DPI awareness); 0 when it cannot be read.
 */
OSTREL_API float DispSizeH(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * DispSizeV: the desktop's height in pixels. Success: The desktop height in pixels: the bottom edge
 * of the desktop window's rectangle, as Windows reports it to the host's process (which depends on
 * the host's DPI awareness); 0 when it cannot be read.
 */
OSTREL_API float DispSizeV(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#endif

/*
 * EmptyFolder: deletes the entries of a folder whose names contain a dot, leaving subfolders
 * unvisited. text: The folder to empty; the platform's separator (\ on Windows, / elsewhere) is
 * appended when it does not end in one. The whole folder is listed first; then every entry whose
 * name contains a . (a.txt, .cache, v1.2) is deleted as a file, and every other entry (most
 * folders, files without an extension such as README) stays. Nothing below the folder's own level
 * is visited. An entry whose joined path would exceed 255 bytes is left alone, and a deletion that
 * fails is skipped: on Windows a folder is never deleted, on macOS and Linux an empty folder with a
 * . in its name is; a symbolic link is deleted, not what it names. On Windows the path and the
 * names are in the ANSI code page, and an entry whose name has no ANSI form is reached by its short
 * name, or left alone. Success: 0 once the folder was listed, whatever the single deletions did.
 * Failure: -1, -1000.
 */
OSTREL_API float EmptyFolder(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * FileCopyTo: copies a file, replacing the target all at once. text: The source file, read from its
 * start; it must be an existing regular file (a folder, FIFO or device is refused). The copy holds
 * the bytes the source had when the copy began. On Windows the path is in the ANSI code page.
 * memBlock: The target path, created or replaced: the copy is written to a new file beside the
 * target and renamed over it only when complete (over an existing target once it is on the disk),
 * so a failure at any point leaves the old target as it was; a replaced target keeps its owner,
 * group and permission bits. Refused, the target untouched: a folder or other non-regular file, a
 * read-only file, a path whose folder is missing or takes no new file, a file whose owner cannot be
 * kept. A symbolic link has the file it names replaced and stays (the Windows builds replace the
 * link itself). On Windows the path is in the ANSI code page. Success: 0 when the target holds the
 * copy; also when text and memBlock name one existing file (under any spelling or link), which is
 * left as it is. Failure: -1, -1000.
 */
OSTREL_API float FileCopyTo(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * FileDelete: deletes a file. text: The file to delete, with the C runtime's remove. On macOS and
 * Linux an empty folder is deleted too, and a symbolic link is deleted itself, not what it names.
 * On Windows a folder or a read-only file is not deleted, and the path is in the ANSI code page.
 * Success: 0 when deleted. Failure: -1.
 */
OSTREL_API float FileDelete(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * FileRename: renames or moves a file or folder, never replacing an existing file. text: The file
 * or folder to rename, as it is named now. On Windows the path is in the ANSI code page. memBlock:
 * The new path. Refused when it equals text byte for byte, and when anything already has the name
 * (a file, a folder, a dangling link): an existing file is never replaced, on any build. The move
 * is the system's rename, on macOS and Linux within one file system. On Windows the path is in the
 * ANSI code page. Success: 0 when renamed. Failure: -1.
 */
OSTREL_API float FileRename(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#if defined(OSTREL_BUILD_WINDOWS)

/*
 * GetDirFileList: lists a folder's plain files or its subfolders as the chosen files, for
 * GetFileInfo. text: The folder to list, at most 257 bytes in the ANSI code page; one trailing \ is
 * dropped. It is searched with \* appended, in the file system's order; hidden and system entries
 * are skipped, and names come as Windows converts them to the ANSI code page. value: Compared with
 * 0: 0 lists the entries that are not folders; any other value, NaN included, lists the folders, .
 * and .. among them. Success: The number of entries listed, 1 or more. 0 when text is missing,
 * empty or longer than 257 bytes, when the folder cannot be searched, and when no entry matches.
 * Failure: -1000.
 */
OSTREL_API float GetDirFileList(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#endif

/*
 * GetFile: hands out the next entry of the open folder listing. memBlock: Receives the entry's
 * name, without folder, and its NUL. Every entry comes, in the file system's order: files, folders,
 * hidden ones, . and ... On Windows names are in the ANSI code page, at most 259 bytes; a name that
 * has no ANSI form, or needs more than 259 bytes in it, comes as its short name, or as ? when that
 * fails too. On macOS and Linux a name is the bytes the file system stores. A block of 1,024 bytes
 * holds any name on every build. Success: 0 when a name was written. Failure: -1, -2, -3, -4,
 * -1000.
 */
OSTREL_API float GetFile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#if defined(OSTREL_BUILD_WINDOWS)

/*
 * GetFileInfo: copies one of the chosen files into memBlock, as its full path or its name. text:
 * fullname or name, compared byte for byte (Name gives 0). value: Trunc: the entry's number,
 * counted from 1; below 1 (NaN too) or above the number of entries gives 0. memBlock: Receives the
 * text and its NUL: with fullname the entry's full path (for two or more entries the folder, \ and
 * the name), with name the name alone (for a single entry the part after its last \; 0 and nothing
 * written when it has none). memBlockSize must be 1 or more: the text is cut to memBlockSize - 1
 * bytes and its NUL; below 1 nothing is written and the answer is 0. Success: The length of the
 * text written, after any cut. 0 when nothing is written: text or memBlock missing, another
 * keyword, no such entry, memBlockSize below 1. After a cancelled GetFileList or an empty listing,
 * fullname with 1 writes an empty text and answers 0. Failure: -1000.
 */
OSTREL_API float GetFileInfo(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GetFileList: runs the open-file dialog; the files picked become the chosen files. text: The
 * filter list: description and pattern pairs separated by | (Meshes|*.obj;*.tev|All|*.*), cut to
 * 255 bytes; the first pair is selected. Null gives the filter *.*. value: Compared with 1: exactly
 * 1 lets the user pick one file; any other value, NaN included, lets the user pick several.
 * Success: The number of files picked, 1 or more; only existing files can be picked. 0 when the
 * user cancels or the dialog fails (a selection longer than 65,536 bytes fails). Failure: -1000.
 */
OSTREL_API float GetFileList(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#endif

/*
 * GetPublicFolder: writes the path of the folder that all users of the machine share. memBlock:
 * Receives the folder's path, without a trailing separator, and its NUL; nothing is written on
 * failure. Windows: the public documents folder (such as C:\Users\Public\Documents) in the ANSI
 * code page, at most 254 bytes, so a 255-byte block holds it; a path that needs more, or has
 * characters without an ANSI form, is not written (-1). macOS: the local users folder (/Users),
 * UTF-8. Linux: /home, when it is a folder. Success: Windows and Linux: 0. macOS: 1, and 0 (not a
 * negative code) when no folder is found or memBlock is missing. Failure: -1, -1000.
 */
OSTREL_API float GetPublicFolder(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#if defined(OSTREL_BUILD_WINDOWS)

/*
 * GetScreenFactor: the screen's scale factor: its width in logical inches over its physical width.
 * Success: The factor (HORZRES / LOGPIXELSX) / (HORZSIZE / 25.4) of the screen's device context, in
 * single precision: 1 for 1,920 pixels at 96 pixels per logical inch on 508 mm; infinity when the
 * screen reports a width of 0 mm.
 */
OSTREL_API float GetScreenFactor(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * LaunchAppWithFile: opens a file with its associated program. text: The file to open, in the ANSI
 * code page. Its name (the part after the last / or \) goes to the shell's open verb with the
 * folder part (up to and including that separator) as the working folder; a path without a folder
 * part leaves the host's working folder. Success: 0 once the request is handed to the shell,
 * whatever the shell does with it (a missing file, or one no program opens, also gives 0). Failure:
 * -1, -1000.
 */
OSTREL_API float LaunchAppWithFile(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#endif

/*
 * OpenFolder: starts a listing of a folder's entries for GetFile. text: The folder to list; a
 * relative path starts at the host's current folder. On Windows it is in the ANSI code page (text
 * not valid there cannot be listed), made a full path and searched with \* appended (* alone after
 * /, : or \); on macOS and Linux it is opened with opendir. Success: 0. Failure: -1, -1000.
 */
OSTREL_API float OpenFolder(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#if defined(OSTREL_BUILD_WINDOWS)

/*
 * SetDefaultDir: sets the folder the open-file dialog starts in. text: The folder, cut to 511 bytes
 * and not checked. Null or an empty text lets the system choose. Success: 0, always. Failure:
 * -1000.
 */
OSTREL_API float SetDefaultDir(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * SetDialogTitle: sets the title of the open-file dialog. text: The title, cut to 255 bytes. Null
 * restores the initial title, Select Files. Success: 0, always. Failure: -1000.
 */
OSTREL_API float SetDialogTitle(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * ShiftDown: sends a left mouse-button press and release where the pointer is. Success: 0, always,
 * even when Windows refuses the events: a left-button press and a release with the offsets 760,300
 * and 860,300 but no move flag, so the pointer stays and the click lands where it is.
 */
OSTREL_API float ShiftDown(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * ShiftUp: sends a key release of virtual key 0xC0. Success: 0, always, even when Windows refuses
 * the event: a key release of virtual key 0xC0 (VK_OEM_3, the key left of 1 on a US keyboard), scan
 * code 0x45, flagged extended; no key press is sent.
 */
OSTREL_API float ShiftUp(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#endif

/*
 * Version: the library's version number, 4.4. Success: 4.4 as a 32-bit float (4.40000010), whatever
 * the arguments.
 */
OSTREL_API float Version(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#if defined(OSTREL_BUILD_MACOS)

/*
 * GetOpenDialog: runs the open panel; the files picked become the chosen files. text: The panel's
 * title, UTF-8. Null, or text that is not UTF-8, leaves the panel's own title. Success: The number
 * of files picked, 1 or more; 0 when the user cancels. The panel offers files ending in .kvo or
 * .obj, in either letter case, several at once, and no folders. Failure: -1000.
 */
OSTREL_API float GetOpenDialog(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * GetFilePath: copies the path of one of the files chosen in the open panel. value: Trunc: the
 * file's number, counted from 0; below 0, or not below the number of chosen files, gives 0.
 * memBlock: Receives the file's path, cut to 255 bytes (even inside a character), and its NUL; a
 * block of 256 bytes holds it. Success: 1 when the path was written; 0 when memBlock is missing or
 * there is no such file (nothing written). Failure: -1000.
 */
OSTREL_API float GetFilePath(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * ClearFileList: forgets the files chosen in the open panel. Success: 0, always.
 */
OSTREL_API float ClearFileList(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * inPut: hands a URL to the system's launch service to open. text: A URL in UTF-8, such as
 * file:///Applications/Example.app or https://www.kelmor.example, taken as it stands with no base;
 * text a URL cannot hold, such as an unescaped space, makes none. Success: 0 when the launch
 * service accepts the URL, which it is given as the application to open, with no documents. Any
 * other answer is the launch service's own status, cut to a signed 16-bit value, such as -10814
 * when no application is found. Failure: -1, -1000.
 */
OSTREL_API float inPut(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;

/*
 * isKeyPressed: tells whether a key is held down. value: Trunc; its low 16 bits are the macOS
 * virtual key code (56.9 and 65,592 both ask for 56, the Shift key). Success: 1 when the key is
 * down in the combined state of the session's input sources, else 0.
 */
OSTREL_API float isKeyPressed(const char* text, double value, char* memBlock, int memBlockSize) OSTREL_NOEXCEPT;
#endif

#ifdef __cplusplus
}
#endif

#endif
