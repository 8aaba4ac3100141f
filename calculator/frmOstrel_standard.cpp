// Choosing the time code standard: the value is carried across by frame count.
#include "frmOstrel.h"

#include "NumberText.h"
#include "TimeCodeTranslate.h"

namespace {

constexpr int32_t kTypeMask = 0xFF;

} // namespace

void frmOstrel::TCOption_Click(int16_t index)
{
    szRawTC = szTCDisplay;
    const int32_t oldType = dwFlags & kTypeMask;
    if (index == 0) {
        if (bFrameMode == 0) {
            TimeCodeTranslate::tc2Frame(szRawTC, oldType, dwTCcurrent);
            bFrameMode = -1;
            dwFlags &= ~kTypeMask;
        }
        szRawTC = NumberText::signedText(dwTCcurrent);
    } else {
        if (bFrameMode == -1)
            dwTCcurrent = NumberText::leadingValue(szRawTC);
        else
            TimeCodeTranslate::tc2Frame(szRawTC, oldType, dwTCcurrent);
        bFrameMode = 0;
        dwFlags = (dwFlags & ~kTypeMask) | (index & kTypeMask);
        szRawTC = TimeCodeTranslate::emptyText();
        TimeCodeTranslate::tc2String(dwTCcurrent, index & kTypeMask, szRawTC);
    }
    dwTCcurrent = displayTC(szRawTC, dwTCcurrent);
}
