// Rendering the current value and the range check of typed values.
#include "frmOstrel.h"

#include "DisplayBox.h"
#include "NumberText.h"
#include "TimeCodeTranslate.h"

#include <QCheckBox>

int32_t frmOstrel::displayTC(QString &szRawTCArg, int32_t &dwTCArg)
{
    TimeCodeTranslate::tc2Maximum(dwFlags, dwMaxTC);
    szRawTC = szRawTCArg;
    if (bFrameMode == -1) {
        dwTCArg = NumberText::leadingValue(szRawTCArg);
        maxTCcheck(dwTCArg, dwFlags, szRawTCArg);
        szTCDisplay = szRawTCArg;
    } else {
        int32_t frames = dwTCArg;
        TimeCodeTranslate::tc2Frame(szRawTC, dwFlags, frames);
        dwTCArg = frames;
        maxTCcheck(dwTCArg, dwFlags, szRawTCArg);
        szTCDisplay = TimeCodeTranslate::emptyText();
        TimeCodeTranslate::tc2String(dwTCArg, dwFlags, szTCDisplay);
    }
    m_display->setWholeText(szTCDisplay);
    return dwTCArg;
}

void frmOstrel::displayTCVal(const int32_t &dwTC)
{
    if (bFrameMode == 0) {
        szTCDisplay = TimeCodeTranslate::emptyText();
        TimeCodeTranslate::tc2String(dwTC, dwFlags, szTCDisplay);
    }
    if (bFrameMode == -1)
        szTCDisplay = NumberText::signedText(dwTC);
    m_display->setWholeText(szTCDisplay);
}

void frmOstrel::maxTCcheck(int32_t &dwTCArg, int32_t &dwFlagsArg, QString &szRawTCArg)
{
    bool refused = false;
    if (bFrameMode == -1 && dwTCArg > dwMaxFrames) {
        showRangeMessage(QStringLiteral(" ERROR : Maximum frame count = 2591999 "));
        refused = true;
    }
    if (bFrameMode == 0 && dwTCArg > dwMaxTC) {
        dwTCArg = dwMaxTC;
        szTCDisplay = TimeCodeTranslate::emptyText();
        TimeCodeTranslate::tc2String(dwTCArg, dwFlagsArg, szTCDisplay);
        szMaxTC = NumberText::formatPattern(szTCDisplay);
        szErrorMsg = QStringLiteral("ERROR : Maximum Time Code = ") + szMaxTC;
        showRangeMessage(szErrorMsg);
        refused = true;
    }
    if (!refused)
        return;
    dwTCArg = 0;
    szRawTCArg.clear();
    szRawTC.clear();
    szTCDisplay.clear();
    dwTCLast = 0;
    cLastCmd = 0;
    m_display->setWholeText(szRawTC);
}

// An empty entry means the value on show is a result or a cleared value, not something
// being typed: re-reading the empty entry would throw that value away, so it is rendered
// under the new flags instead.
void frmOstrel::optionBoxClick(QCheckBox *box, int32_t bit)
{
    if (box->isChecked())
        dwFlags |= bit;
    else
        dwFlags &= ~bit;
    if (szRawTC.isEmpty()) {
        TimeCodeTranslate::tc2Maximum(dwFlags, dwMaxTC);
        displayTCVal(dwTCcurrent);
    } else {
        dwTCcurrent = displayTC(szRawTC, dwTCcurrent);
    }
}

void frmOstrel::ckMarks_Click()
{
    optionBoxClick(m_ckMarks, 0x10000);
}

void frmOstrel::ckLeading_Click()
{
    optionBoxClick(m_ckLeading, 0x20000);
}
