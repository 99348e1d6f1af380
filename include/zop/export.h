/// @file
/// @ingroup core
/// Symbol visibility for the zop shared library.
///
/// ZOP_API marks a class or function as part of the library's binary
/// interface: exported from zop0.1.dll / libzop.so while the library itself is
/// compiled (ZOP_BUILDING), imported by everyone else.  ZOP_C_API additionally
/// gives a function C linkage, so that its exported name carries no C++
/// decoration.
#ifndef ZOP_EXPORT_H
#define ZOP_EXPORT_H

/// @addtogroup core
/// @{

/// @def ZOP_API
/// Marks a class or function as part of the library's binary interface:
/// exported while the library itself is compiled (ZOP_BUILDING), imported by
/// everyone else.
#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(ZOP_BUILDING)
#    define ZOP_API __declspec(dllexport)
#  else
#    define ZOP_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__)
#  define ZOP_API __attribute__((visibility("default")))
#else
#  define ZOP_API
#endif

/// ZOP_API with C linkage, so that the function's exported name carries no
/// C++ decoration.
#define ZOP_C_API extern "C" ZOP_API

/// @}

#endif
