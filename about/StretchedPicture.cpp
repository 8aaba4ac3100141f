#include "StretchedPicture.h"

#include <QPainter>
#include <QStyle>

StretchedPicture::StretchedPicture(const QPixmap &picture, QWidget *parent)
    : QLabel(parent), m_picture(picture)
{
}

// Stretched as a label would show a stretched copy, pixel for pixel at any scale factor; the
// copy lives only while the label paints.
void StretchedPicture::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    QPixmap stretched =
        m_picture.scaled(size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    stretched.setDevicePixelRatio(ratio);
    QPainter painter(this);
    style()->drawItemPixmap(&painter, contentsRect(), int(alignment()), stretched);
}
