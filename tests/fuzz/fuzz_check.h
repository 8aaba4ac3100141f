/* A check that stops the fuzzer with the failed condition, in every build mode. */
#pragma once

#include <stdio.h>
#include <stdlib.h>

#define CHECK(cond)                                                          \
    do {                                                                     \
        if (!(cond)) {                                                       \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
                    #cond);                                                  \
            abort();                                                         \
        }                                                                    \
    } while (0)
