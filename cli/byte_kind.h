/* What each byte is to the expression reader, looked up once a byte. */
#pragma once

/* A '.' is a mark that may also make a decimal; a ',' one that a reader may take for it. */
enum { BYTE_DIGIT = 1, BYTE_MARK = 2, BYTE_BLANK = 4, BYTE_DOT = 8, BYTE_COMMA = 16 };

extern const unsigned char byte_kinds[256];

static inline unsigned byte_kind(char c)
{
    return byte_kinds[(unsigned char)c];
}
