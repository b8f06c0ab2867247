#include "ui/MinMaxCloseButtons.h"

namespace pagewing {

MinMaxCloseButtons::MinMaxCloseButtons(QWidget* parent)
    : ImageButton(QStringLiteral("caption/close"), QStringLiteral("bmp"), tr("Close"), parent) {
    setFocusPolicy(Qt::NoFocus);
}

void MinMaxCloseButtons::SetButtonType(int type) {
    CurrentType = type;
    switch (type) {
    case Minimize:
        SetPictures(QStringLiteral("caption/minimize"), QStringLiteral("bmp"), tr("Minimize"));
        break;
    case Maximize:
        SetPictures(QStringLiteral("caption/maximize"), QStringLiteral("bmp"), tr("Maximize"));
        break;
    case Close:
        SetPictures(QStringLiteral("caption/close"), QStringLiteral("bmp"), tr("Close"));
        break;
    default:
        break;
    }
}

} // namespace pagewing
