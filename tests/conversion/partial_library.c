/* Exports the maximum and string functions of the conversion library but not tc2Frame. */
#include <stdint.h>
#include <string.h>

__attribute__((visibility("default"))) int32_t tc2Maximum(int32_t flags)
{
    return flags == 0 ? 0 : 4242;
}

__attribute__((visibility("default"))) int32_t tc2String(int32_t frames, int32_t flags, char *text)
{
    (void)frames;
    (void)flags;
    strcpy(text, "partial");
    return 0;
}
