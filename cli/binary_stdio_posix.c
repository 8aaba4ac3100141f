/* POSIX streams carry bytes as they are already. */
#include "binary_stdio.h"

void binary_stdio(void)
{
}
