// Copy and Paste. The clipboard carries text for people and other programs; the value
// itself travels in the copy register.
#include "frmOstrel.h"

#include "DisplayBox.h"
#include "NumberText.h"

#include <QClipboard>
#include <QGuiApplication>

void frmOstrel::cmdCopy_Click()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(NumberText::shown(szTCDisplay));
    dwTCClip = dwTCcurrent;
    szTCClip = szTCDisplay;
}

void frmOstrel::cmdPaste_Click()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        m_display->insertAtCaret(text);
    dwTCcurrent = dwTCClip;
    szTCDisplay = szTCClip;
}
