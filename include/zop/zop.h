/// @file
/// @ingroup core
/// The whole zop library.
#ifndef ZOP_ZOP_H
#define ZOP_ZOP_H

#include <zop/core.h>
#include <zop/fs.h>
#include <zop/io.h>
#include <zop/text.h>
#include <zop/time.h>
#include <zop/thread.h>
#include <zop/version.h>

#endif
