// The instruction sets the UTF-8 <-> UTF-16 converters can run on, and the
// choice between them.
//
// The first conversion picks the widest set the build and the processor
// have (AVX2, else SSE2, else plain code) and keeps it.  use_utf_path lets
// the differential tests run every converter the machine can run against the
// same models; it is exported for them and is no part of the public
// interface.
#ifndef ZOP_TEXT_UTF_PATHS_H
#define ZOP_TEXT_UTF_PATHS_H

#include <zop/export.h>

namespace zop::text {

enum class UtfPath { automatic, scalar, sse2, avx2 };

// Makes the converters run on `path` from now on (automatic: the widest one
// there is).  Returns false, changing nothing, when this build or this
// processor cannot run it.  Conversions running meanwhile in other threads
// finish on the path they started on.
ZOP_API bool use_utf_path(UtfPath path);

}  // namespace zop::text

#endif
