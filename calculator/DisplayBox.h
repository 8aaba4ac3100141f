#pragma once

#include <QLineEdit>

// The calculator's display: a disabled line edit that shows a text up to its first NUL.
// The program's own texts are never cut; only inserted text is held to the insert limit.
class DisplayBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit DisplayBox(QWidget *parent = nullptr);

    // Shows the text up to its first NUL, caret at the start, nothing selected.
    void setWholeText(const QString &text);

    // Replaces the selection (inserts at the caret when nothing is selected), cut to the
    // room left under the insert limit.
    void insertAtCaret(const QString &text);

    void setInsertLimit(int limit) { m_insertLimit = limit; }
    int insertLimit() const { return m_insertLimit; }

private:
    int m_insertLimit = 32767;
};
