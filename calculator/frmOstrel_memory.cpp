// The two memory registers: a frame count and the display text it was stored with.
#include "frmOstrel.h"

void frmOstrel::cmdMemSet_Click()
{
    dwMemory1 = dwTCcurrent;
    szTCRet1 = szTCDisplay;
}

void frmOstrel::cmdMemSet1_Click()
{
    dwMemory2 = dwTCcurrent;
    szTCRet2 = szTCDisplay;
}

// A recall reads the stored text again under the standard now in force.
void frmOstrel::cmdMemRecall_Click()
{
    dwTCcurrent = dwMemory1;
    if (szTCRet1.isEmpty())
        szTCRet1 = QStringLiteral("0");
    szTCDisplay = szTCRet1;
    dwTCcurrent = displayTC(szTCDisplay, dwTCcurrent);
}

// The range check empties the text it is handed; a copy keeps a failed recall from
// destroying the register's stored text.
void frmOstrel::cmdMemRecall1_Click()
{
    dwTCcurrent = dwMemory2;
    if (szTCRet2.isEmpty())
        szTCRet2 = QStringLiteral("0");
    QString recalled = szTCRet2;
    dwTCcurrent = displayTC(recalled, dwTCcurrent);
}
