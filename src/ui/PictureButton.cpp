#include "ui/PictureButton.h"

#include <array>
#include <utility>

namespace pagewing {

namespace {

// The stem and the caption of each kind, in the order of Kind.
constexpr std::array<std::pair<const char*, const char*>, 5> Kinds{{
    {"send", QT_TRANSLATE_NOOP("PictureButton", "Send Message")},
    {"clear", QT_TRANSLATE_NOOP("PictureButton", "Clear Window")},
    {"ok", QT_TRANSLATE_NOOP("PictureButton", "OK")},
    {"cancel", QT_TRANSLATE_NOOP("PictureButton", "Cancel")},
    {"close", QT_TRANSLATE_NOOP("PictureButton", "Close")},
}};

} // namespace

PictureButton::PictureButton(Kind kind, QWidget* parent)
    : PictureButton(QLatin1String(Kinds.at(kind).first), tr(Kinds.at(kind).second), parent) {}

PictureButton::PictureButton(const QString& stem, const QString& caption, QWidget* parent)
    : ImageButton(QStringLiteral("buttons/") + stem, QStringLiteral("gif"), caption, parent) {}

} // namespace pagewing
