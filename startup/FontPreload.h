#pragma once

#include <thread>

// Reads the system's font configuration on a second thread while Qt connects to the display,
// so that the calculator's first text finds it loaded instead of waiting for it. Qt's font
// database then only lists what fontconfig already holds.
class FontPreload
{
public:
    FontPreload();
    ~FontPreload();
    FontPreload(const FontPreload &) = delete;
    FontPreload &operator=(const FontPreload &) = delete;

    // Waits until the configuration is loaded; call it before the first widget is built.
    void wait();

private:
    std::thread m_reader;
};
