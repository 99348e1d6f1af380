// Platform layer: conversion between UTF-16 and the system's ANSI code page.
//
// Both calls follow WideCharToMultiByte / MultiByteToWideChar with code page
// CP_ACP and flags 0: a negative input length means "up to and including the
// terminating zero"; an output size of 0 asks for the size needed; the
// result is the count written (or needed), or 0 with the reason in the
// thread's last error (87 ERROR_INVALID_PARAMETER for a null or empty input,
// a null output with a non-zero size or a negative size, and for a wide
// value above 0xFFFF where wchar_t is 32 bits wide; 122
// ERROR_INSUFFICIENT_BUFFER when the output is too small).
#ifndef ZOP_SYS_CODEPAGE_H
#define ZOP_SYS_CODEPAGE_H

namespace zop::sys {

// UTF-16 units to ANSI bytes.
int wide_to_ansi(const wchar_t* input, int length, char* output, int size);

// ANSI bytes to UTF-16 units.
int ansi_to_wide(const char* input, int length, wchar_t* output, int size);

}  // namespace zop::sys

#endif
