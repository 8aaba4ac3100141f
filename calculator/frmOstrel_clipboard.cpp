// Copy and Paste. The clipboard carries text for people and other programs; the value
// itself travels in the copy register.
#include "frmOstrel.h"

#include "ClipboardText.h"
#include "DisplayBox.h"
#include "NumberText.h"

void frmOstrel::cmdCopy_Click()
{
    ClipboardText::replace(NumberText::shown(szTCDisplay));
    dwTCClip = dwTCcurrent;
    szTCClip = szTCDisplay;
}

void frmOstrel::cmdPaste_Click()
{
    const QString text = ClipboardText::read();
    if (!text.isEmpty())
        m_display->insertAtCaret(text);
    dwTCcurrent = dwTCClip;
    szTCDisplay = szTCClip;
}
