#include "ProgramVersion.h"

QString programVersion()
{
    return QStringLiteral(OSTREL_VERSION);
}
