#include "app/save_failure.h"

#include <cerrno>

#include "png/png_export.h"

namespace orbitograph {

QString SaveFailureReason(const SaveResult& r) {
    if (r.failure == SaveFailure::NotRegularFile) return QStringLiteral("Это не обычный файл; он оставлен как был.");
    switch (r.systemError) {
        case ENOSPC:
        case EDQUOT: return QStringLiteral("На диске не хватает места.");
        case EROFS: return QStringLiteral("Файловая система доступна только для чтения.");
        case ENOENT:
        case ENOTDIR: return QStringLiteral("Нет такой папки.");
        case EACCES:
        case EPERM: return QStringLiteral("Нет прав на запись в эту папку или в этот файл.");
        default: return QString::fromLocal8Bit(SaveFailureText(r));
    }
}

}  // namespace orbitograph
