#include "app/app_resources.h"

static void InitOrbitographResources() { Q_INIT_RESOURCE(orbitograph); }

namespace orbitograph {

void InitAppResources() { InitOrbitographResources(); }

QIcon ProgramIcon() {
    InitAppResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/icon16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/icon32.png"), QSize(32, 32));
    return icon;
}

}  // namespace orbitograph
