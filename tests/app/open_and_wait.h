#pragma once
#include <QObject>
#include <QString>
#include <optional>

#include "app/main_window.h"
#include "support/wait_until.h"

// Opens the package as the window does and waits for its end: true when its title is shown.
inline bool OpenAndWait(olve::TForm1& form, const QString& package, int ms = 30000)
{
    std::optional<bool> shown;
    const QMetaObject::Connection ended =
        QObject::connect(&form, &olve::TForm1::PackageOpened, [&](const QString& path, bool opened) {
            if (path == package)
                shown = opened;
        });
    const bool ran = form.OpenTitlePackage(package) && WaitUntil([&] { return shown.has_value(); }, ms);
    QObject::disconnect(ended);
    return ran && *shown;
}
