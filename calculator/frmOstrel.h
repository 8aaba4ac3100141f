#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <cstdint>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class DisplayBox;

// The calculator window. It is a dialog so that Enter presses the default button "=" or the
// focused button, as editors expect; Escape is kept from closing it.
class frmOstrel : public QDialog
{
    Q_OBJECT

public:
    explicit frmOstrel(QWidget *parent = nullptr);
    ~frmOstrel() override;

    // The calculator's state, in its declared order; public so that tests can inspect it.
    int16_t bFrameMode = 0;          // -1 while raw frame count is selected, else 0
    QString szTCDisplay;             // text last given to the display (32 chars in time code mode)
    QString szRawTC;                 // the entry
    QString szTCRet1;                // display text kept with memory 1
    QString szTCRet2;                // display text kept with memory 2
    QString szTCClip;                // display text kept by Copy
    QString szErrorMsg;              // last time code range message
    QString szMaxTC;                 // the limit as quoted in it
    int32_t dwFlags = 0;             // type byte, marks (bit 16), leading zeros (bit 17)
    int32_t dwTCcurrent = 0;         // current value in frames
    int32_t dwMemory1 = 0;
    int32_t dwMemory2 = 0;
    int32_t dwTCClip = 0;            // frames kept by Copy
    int32_t dwTCLast = 0;            // left operand of the pending operation
    int32_t dwMaxTC = 0;             // frame limit of the current time code type
    int32_t dwMaxFrames = 0;         // largest value in raw frame-count mode
    double dblTCLast = 0;
    double dblTCcurrent = 0;
    int16_t cLastCmd = 0;            // pending operator's character code; 48 after equals
    int16_t cType = 0;               // working copy of cLastCmd inside Calculate

    // Finds a control by its objectName ("cmd5", "TCOption(4)", "TxtDisplay").
    QWidget *control(const QString &name) const;
    QAbstractButton *button(const QString &name) const;
    DisplayBox *TxtDisplay() const { return m_display; }

    // Presses a button from code: its click handler runs before this returns.
    void press(const QString &name);

    void Form_Load();

    // Display rendering and the range check of typed values.
    int32_t displayTC(QString &szRawTC, int32_t &dwTCcurrent);
    void displayTCVal(const int32_t &dwTC);
    void maxTCcheck(int32_t &dwTCcurrent, int32_t &dwFlags, QString &szRawTC);
    void ckMarks_Click();
    void ckLeading_Click();

    // Digit entry and editing.
    void AddDigit(const QString &szDigit);
    void cmd0_Click();
    void cmd1_Click();
    void cmd2_Click();
    void cmd3_Click();
    void cmd4_Click();
    void cmd5_Click();
    void cmd6_Click();
    void cmd7_Click();
    void cmd8_Click();
    void cmd9_Click();
    void cmdBackspace_Click();
    void cmdCE_Click();
    void cmdCLR_Click();

    // Arithmetic.
    void cmdPlus_Click();
    void cmdMinus_Click();
    void cmdMultiply_Click();
    void cmdDivide_Click();
    void cmdEquals_Click();
    int32_t Calculate(int32_t &dwTCLast, int16_t &cType, int16_t &cLastCmd, int32_t &dwTCcurrent);
    void NewCommand(const QString &szCmd);

    // Standard selection.
    void TCOption_Click(int16_t index);

    // Keyboard: Windows virtual-key codes, whatever the platform.
    void Form_KeyDown(int16_t &KeyCode, int16_t Shift);
    void Form_KeyUp(int16_t &KeyCode, int16_t Shift);

    // Memory registers.
    void cmdMemSet_Click();
    void cmdMemRecall_Click();
    void cmdMemSet1_Click();
    void cmdMemRecall1_Click();

    // Clipboard.
    void cmdCopy_Click();
    void cmdPaste_Click();

    void Info_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void connectHandlers();
    void applyWindowSettings();
    void digitClick(const char *name, const char *digit);
    void operatorClick(const char *name, const QString &szCmd);
    void optionBoxClick(QCheckBox *box, int32_t bit);
    void keepTabStopOnSelectedOption();
    void watchControlKeys();
    void showRangeMessage(const QString &text);

    QHash<QString, QWidget *> m_controls;
    DisplayBox *m_display = nullptr;
    QButtonGroup *m_options = nullptr;
    QCheckBox *m_ckLeading = nullptr;
    QCheckBox *m_ckMarks = nullptr;
    bool m_keyPreviewInstalled = false;
};
