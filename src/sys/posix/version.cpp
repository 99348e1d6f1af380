// POSIX backend: the version record.
//
// Linux is not Windows, but callers compare versions to decide whether the
// NT family's facilities are there; they are (through this backend), so the
// record describes the newest NT platform: platform 2, version 10.0.
#include "sys/version.h"

namespace zop::sys {

void query_version(VersionRecord& record) {
    record.platform = 2;
    record.major = 10;
    record.minor = 0;
    record.service_pack.clear();
}

}  // namespace zop::sys
