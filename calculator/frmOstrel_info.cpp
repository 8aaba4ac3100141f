#include "frmOstrel.h"

#include "frmSplash.h"

void frmOstrel::Info_Click()
{
    frmSplash::showSplash();
}
