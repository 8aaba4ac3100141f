// Digit entry, backspace, clear entry and clear all.
#include "frmOstrel.h"

#include "DisplayBox.h"
#include "NumberText.h"
#include "TimeCodeTranslate.h"

#include <QAbstractButton>

void frmOstrel::AddDigit(const QString &szDigit)
{
    szRawTC = NumberText::plain(NumberText::leadingValue(szRawTC));
    szRawTC = NumberText::signedText(NumberText::leadingValue(szRawTC));
    szRawTC += szDigit;
    szRawTC = szRawTC.right(8);
    dwTCcurrent = displayTC(szRawTC, dwTCcurrent);
}

void frmOstrel::digitClick(const char *name, const char *digit)
{
    button(QLatin1String(name))->setFocus();
    AddDigit(QLatin1String(digit));
}

void frmOstrel::cmd0_Click() { digitClick("cmd0", "0"); }
void frmOstrel::cmd1_Click() { digitClick("cmd1", "1"); }
void frmOstrel::cmd2_Click() { digitClick("cmd2", "2"); }
void frmOstrel::cmd3_Click() { digitClick("cmd3", "3"); }
void frmOstrel::cmd4_Click() { digitClick("cmd4", "4"); }
void frmOstrel::cmd5_Click() { digitClick("cmd5", "5"); }
void frmOstrel::cmd6_Click() { digitClick("cmd6", "6"); }
void frmOstrel::cmd7_Click() { digitClick("cmd7", "7"); }
void frmOstrel::cmd8_Click() { digitClick("cmd8", "8"); }
void frmOstrel::cmd9_Click() { digitClick("cmd9", "9"); }

void frmOstrel::cmdBackspace_Click()
{
    szRawTC = NumberText::plain(NumberText::leadingValue(szRawTC));
    if (!szRawTC.isEmpty())
        szRawTC.chop(1);
    szRawTC += TimeCodeTranslate::emptyText();
    dwTCcurrent = displayTC(szRawTC, dwTCcurrent);
}

void frmOstrel::cmdCE_Click()
{
    dwTCcurrent = 0;
    szRawTC.clear();
    szTCDisplay.clear();
    m_display->setWholeText(szRawTC);
    displayTCVal(0);
}

void frmOstrel::cmdCLR_Click()
{
    dwTCcurrent = 0;
    dwMemory1 = 0;
    dwMemory2 = 0;
    dwTCLast = 0;
    cLastCmd = 0;
    szRawTC.clear();
    szTCDisplay.clear();
    szTCRet1.clear();
    szTCRet2.clear();
    m_display->setWholeText(szTCDisplay);
    displayTCVal(0);
}
