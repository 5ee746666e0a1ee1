#include "app/save_failure.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "png/png_export.h"

namespace orbitograph {

QString SaveFailureReason(const SaveResult& r, const QString& path) {
    switch (r.failure) {
        case SaveFailure::None: return {};
        case SaveFailure::NoPicture: return QStringLiteral("Рисунка нет: сохранять нечего.");
        case SaveFailure::NotRegularFile: return QStringLiteral("Это не обычный файл; он оставлен как был.");
        case SaveFailure::Stopped: return QStringLiteral("Запись остановлена; файл не записан.");
        case SaveFailure::System: break;
    }
    switch (r.systemError) {
        case ENOSPC:
        case EDQUOT: return QStringLiteral("На диске не хватает места.");
        case EROFS: return QStringLiteral("Файловая система доступна только для чтения.");
        case ENOENT:
        case ENOTDIR:
            if (QFileInfo(QFileInfo(path).absolutePath()).isDir())
                return QStringLiteral("Папка есть, но создать в ней файл нельзя.");
            return QStringLiteral("Нет такой папки.");
        case EACCES:
        case EPERM: return QStringLiteral("Нет прав на запись в эту папку или в этот файл.");
        case EISDIR: return QStringLiteral("Это папка, а не файл.");
        case ENAMETOOLONG: return QStringLiteral("Слишком длинное имя файла.");
        case EIO: return QStringLiteral("Ошибка ввода-вывода на диске.");
        case EMFILE:
        case ENFILE: return QStringLiteral("Открыто слишком много файлов.");
        case ENOMEM: return QStringLiteral("Не хватает памяти.");
        default: return QStringLiteral("Системная ошибка номер %1.").arg(r.systemError);
    }
}

}  // namespace orbitograph
