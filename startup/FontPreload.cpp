#include "FontPreload.h"

#if defined(OSTREL_HAVE_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

FontPreload::FontPreload()
{
#if defined(OSTREL_HAVE_FONTCONFIG)
#if defined(__GLIBC__)
    // One heap for every thread: a heap of the reader's own would keep fontconfig's data and
    // its spare room for the whole run. The program's work is all on the main thread.
    mallopt(M_ARENA_MAX, 1);
#endif
    // FcInit sets fontconfig's default configuration, the one Qt asks for later.
    m_reader = std::thread([] { FcInit(); });
#endif
}

FontPreload::~FontPreload()
{
    wait();
}

void FontPreload::wait()
{
    if (m_reader.joinable())
        m_reader.join();
}
