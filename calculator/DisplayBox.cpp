#include "DisplayBox.h"

#include "NumberText.h"

#include <QPalette>

DisplayBox::DisplayBox(QWidget *parent)
    : QLineEdit(parent)
{
    setEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Disabled so that nobody types into it, but the value must read as clearly as ever.
    QPalette colours = palette();
    colours.setColor(QPalette::Disabled, QPalette::Text, colours.color(QPalette::Active, QPalette::Text));
    setPalette(colours);
}

void DisplayBox::setWholeText(const QString &text)
{
    setText(NumberText::shown(text));
    setCursorPosition(0);
}

void DisplayBox::insertAtCaret(const QString &text)
{
    const qsizetype room = m_insertLimit - (this->text().size() - selectedText().size());
    insert(text.left(std::max<qsizetype>(room, 0)));
}
