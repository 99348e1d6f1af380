// The whole zop library.
#ifndef ZOP_ZOP_H
#define ZOP_ZOP_H

#include <zop/core.h>
#include <zop/fs.h>
#include <zop/thread.h>

#endif
