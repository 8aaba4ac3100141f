#include "byte_kind.h"

const unsigned char byte_kinds[256] = {
    ['0'] = BYTE_DIGIT, ['1'] = BYTE_DIGIT, ['2'] = BYTE_DIGIT, ['3'] = BYTE_DIGIT,
    ['4'] = BYTE_DIGIT, ['5'] = BYTE_DIGIT, ['6'] = BYTE_DIGIT, ['7'] = BYTE_DIGIT,
    ['8'] = BYTE_DIGIT, ['9'] = BYTE_DIGIT,
    [':'] = BYTE_MARK,  [';'] = BYTE_MARK,  ['.'] = BYTE_MARK | BYTE_DOT,  [','] = BYTE_MARK | BYTE_COMMA,
    [' '] = BYTE_BLANK, ['\t'] = BYTE_BLANK, ['\r'] = BYTE_BLANK,
};
