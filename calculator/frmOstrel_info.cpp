#include "frmOstrel.h"

// Shows the about window; wired up once the about window lands.
void frmOstrel::Info_Click()
{
}
