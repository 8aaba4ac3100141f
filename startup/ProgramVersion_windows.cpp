#include "ProgramVersion.h"

#include <windows.h>

#include <vector>

// The file version Explorer shows, read from the running program's own file.
QString programVersion()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = length > 0 && length < MAX_PATH ? GetFileVersionInfoSizeW(path, &ignored) : 0;
    std::vector<char> info(size);
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT fixedSize = 0;
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, info.data())
        || !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void **>(&fixed), &fixedSize)
        || fixedSize < sizeof *fixed)
        return QString();
    return QStringLiteral("%1.%2.%3")
        .arg(HIWORD(fixed->dwFileVersionMS))
        .arg(LOWORD(fixed->dwFileVersionMS))
        .arg(HIWORD(fixed->dwFileVersionLS));
}
