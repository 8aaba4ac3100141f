/* Text mode would write CR LF and end input at a Ctrl-Z byte; results and lines kept by
 * --each and --edl must be the bytes that came in. Standard error too, so that messages are
 * the same bytes as elsewhere, also when a script sends both streams to one file. */
#include "binary_stdio.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

void binary_stdio(void)
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}
