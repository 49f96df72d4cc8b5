// sinf and cosf of the browser build: glibc's (glibc_sincosf.h) in place of musl's, so the show's
// camera moves by the same bits as natively.
#include "glibc_sincosf.h"

extern "C" float sinf(float x)
{
    return glibc_sinf(x);
}

extern "C" float cosf(float x)
{
    return glibc_cosf(x);
}
