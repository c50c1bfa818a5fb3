/* The library's C interface: every export has this one signature. The host
 * passes one text, one number and one memory block, and reads back one float:
 * 0, a count or a value on success, a negative code on failure. */
#ifndef OSTREL_H
#define OSTREL_H

#if defined(_WIN32)
#define OSTREL_API __declspec(dllexport)
#else
#define OSTREL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef float (*OstrelExport)(const char* text, double value, char* memBlock, int memBlockSize);

#ifdef __cplusplus
}
#endif

#endif
