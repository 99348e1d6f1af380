// SystemFile: the base of the file-system objects.
#include <zop/fs.h>

// SystemFile::throw_io_exception lives beside system_error, whose text it
// throws; the file objects themselves arrive with the file-system layer.
