#include "Classes/movie/VideoEncodeView.h"

#include <QLabel>

VideoEncodeView::VideoEncodeView(QWidget* parent)
    : QWidget(parent)
    , m_portraitModeView(new QLabel(this))
    , m_landscapeModeView(new QLabel(this))
{
}
