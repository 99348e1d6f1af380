// The growing block of a BufferedOutputStream, shared with DataOutputStream,
// which puts whole values into it.
#ifndef ZOP_IO_OUTPUT_BLOCK_H
#define ZOP_IO_OUTPUT_BLOCK_H

#include <zop/io.h>

namespace zop {

struct BufferedOutputStream::Block {
    unsigned char* data = nullptr;
    unsigned int capacity = 0;
    unsigned int fill = 0;
};

}  // namespace zop

#endif
