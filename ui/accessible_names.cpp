#include "ui/accessible_names.hpp"

#include <QWidget>

void nameControls(QWidget& window, std::initializer_list<AccessibleName> names) {
    for (const AccessibleName& entry : names) {
        auto* control = window.findChild<QWidget*>(QLatin1String(entry.control));
        Q_ASSERT_X(control, "nameControls", entry.control);
        if (!control)
            continue;
        control->setAccessibleName(entry.name);
        if (!entry.description.isEmpty())
            control->setAccessibleDescription(entry.description);
    }
}
