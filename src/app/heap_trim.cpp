#include "app/heap_trim.h"

#include <cstdlib> // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void HeapTrim::release()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
