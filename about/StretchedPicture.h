#pragma once

#include <QLabel>
#include <QPixmap>

// A label that shows a small picture stretched over its whole area, nearest-neighbour, so the
// picture's pixels stay sharp. It scales as it paints, instead of keeping a copy of the
// picture at the label's size for as long as the window is open.
class StretchedPicture : public QLabel
{
public:
    explicit StretchedPicture(const QPixmap &picture, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
