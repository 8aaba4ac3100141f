// The operator buttons, Calculate and NewCommand.
#include "frmOstrel.h"

#include "NumberText.h"
#include "TimeCodeTranslate.h"

#include <QAbstractButton>
#include <cmath>

namespace {

constexpr int16_t kAfterEquals = 48;

// Rounds half to even; a value that is not finite or does not fit 32 bits never reaches
// the integer conversion.
int32_t roundToFrames(float value)
{
    if (!std::isfinite(value))
        return 0;
    const double rounded = std::nearbyint(static_cast<double>(value));
    if (rounded >= 2147483647.0)
        return INT32_MAX;
    if (rounded <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(rounded);
}

// The operation in double precision, kept in single precision.
float apply(int16_t op, double left, double right)
{
    switch (op) {
    case '+': return static_cast<float>(left + right);
    case '-': {
        const float difference = static_cast<float>(left - right);
        return difference <= 0 ? 0.0f : difference;
    }
    case '*': return static_cast<float>(left * right);
    case '/': return left < right ? 1.0f : static_cast<float>(left / right);
    default: return 0.0f;
    }
}

} // namespace

void frmOstrel::operatorClick(const char *name, const QString &szCmd)
{
    button(QLatin1String(name))->setFocus();
    if (cLastCmd != 0)
        dwTCcurrent = Calculate(dwTCLast, cType, cLastCmd, dwTCcurrent);
    NewCommand(szCmd);
}

void frmOstrel::cmdPlus_Click() { operatorClick("cmdPlus", QStringLiteral("+")); }
void frmOstrel::cmdMinus_Click() { operatorClick("cmdMinus", QStringLiteral("-")); }
void frmOstrel::cmdMultiply_Click() { operatorClick("cmdMultiply", QStringLiteral("*")); }
void frmOstrel::cmdDivide_Click() { operatorClick("cmdDivide", QStringLiteral("/")); }
void frmOstrel::cmdEquals_Click() { operatorClick("cmdEquals", QString::number(0)); }

int32_t frmOstrel::Calculate(int32_t &dwTCLastArg, int16_t &cTypeArg, int16_t &cLastCmdArg,
                             int32_t &dwTCcurrentArg)
{
    const float frameLimit = static_cast<float>(dwMaxFrames);
    const float tcLimit = static_cast<float>(dwMaxTC);
    cTypeArg = cLastCmdArg;
    if (cTypeArg == kAfterEquals) {
        cTypeArg = 0;
        return dwTCcurrentArg;
    }
    dblTCLast = dwTCLastArg;
    dblTCcurrent = dwTCcurrentArg;
    float result = apply(cTypeArg, dblTCLast, dblTCcurrent);
    float working = result;
    if (bFrameMode == -1 && result > frameLimit) {
        showRangeMessage(QStringLiteral(" ERROR : Maximum frame count = 2591999"));
        result = working = 0;
    }
    if (bFrameMode == 0 && result >= tcLimit) {
        szTCDisplay = TimeCodeTranslate::emptyText();
        TimeCodeTranslate::tc2String(dwMaxTC, dwFlags, szTCDisplay);
        szMaxTC = NumberText::formatPattern(szTCDisplay);
        szErrorMsg = QStringLiteral("ERROR : Maximum Time Code = ") + szMaxTC;
        showRangeMessage(szErrorMsg);
        result = working = 0;
    }
    dwTCcurrentArg = roundToFrames(working);
    dblTCLast = 0;
    dblTCcurrent = 0;
    cTypeArg = 0;
    return dwTCcurrentArg;
}

void frmOstrel::NewCommand(const QString &szCmd)
{
    cLastCmd = static_cast<int16_t>(static_cast<unsigned char>(szCmd.at(0).toLatin1()));
    displayTCVal(dwTCcurrent);
    dwTCLast = dwTCcurrent;
    szRawTC.clear();
    if (dwTCcurrent < 0)
        dwTCcurrent = 0;
}
