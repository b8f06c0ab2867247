#pragma once

#include <QAccessible>

namespace pagewing {

// Makes Qt ask `Interface` for the accessible interface of every `Widget`, from the first call on; Qt keeps
// its factories for the life of the program, so later calls add nothing.
template <typename Widget, typename Interface>
void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* widget = qobject_cast<Widget*>(object);
            return widget != nullptr ? new Interface(widget) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace pagewing
