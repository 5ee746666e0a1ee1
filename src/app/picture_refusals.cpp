#include "app/picture_refusals.h"

#include <cerrno>

#include "app/model_params_dlg.h"
#include "png/png_export.h"
#include "png/png_text.h"

namespace orbitograph {

QString PictureRefusalText(PictureReason reason, int systemError) {
    switch (reason) {
        case PictureReason::None: return {};
        case PictureReason::System:
            if (systemError == ENOENT) return QStringLiteral("Такого файла нет.");
            if (systemError == EACCES || systemError == EPERM) return QStringLiteral("Нет прав на чтение файла.");
            return QStringLiteral("Файл не удалось прочитать (системная ошибка %1).").arg(systemError);
        case PictureReason::NotRegularFile: return QStringLiteral("Это не обычный файл.");
        case PictureReason::NotPng: return QStringLiteral("Это не рисунок PNG.");
        case PictureReason::Malformed: return QStringLiteral("Рисунок PNG повреждён.");
        case PictureReason::NoDescription:
            return QStringLiteral("В рисунке нет описания параметров (текстового блока «%1»).")
                .arg(QString::fromLatin1(kPngTextKey));
        case PictureReason::TooLarge:
            return QStringLiteral("Описание в рисунке длиннее %1 байт.").arg(kMaxPngTextBytes);
        case PictureReason::Compressed:
            return QStringLiteral("Описание в рисунке сжато, а эта программа таких описаний не пишет.");
    }
    return {};
}

QString DescriptionRefusalText(const DescriptionError& e) {
    const QString word = QString::fromStdString(e.word);
    const auto at = [&e](const char* what) {
        return QStringLiteral("%1 (символ %2).").arg(QString::fromUtf8(what)).arg(e.at);
    };
    switch (e.reason) {
        case DescriptionReason::None: return {};
        case DescriptionReason::NotUtf8: return QStringLiteral("Текст описания не в кодировке UTF-8.");
        case DescriptionReason::Empty: return QStringLiteral("Описание пусто.");
        case DescriptionReason::UnclosedQuote: return at("Кавычка не закрыта");
        case DescriptionReason::BadEscape: return at("Обратная косая черта не образует допустимой замены");
        case DescriptionReason::ControlCharacter: return at("Управляющий символ");
        case DescriptionReason::QuoteInWord:
            return at(e.value == "\"" ? "Кавычка внутри слова" : "Обратная косая черта внутри слова");
        case DescriptionReason::EmptyWord: return at("Пустое слово");
        case DescriptionReason::NoSpaceAfterQuote: return at("Нет пробела после кавычки");
        case DescriptionReason::SpaceAtEnd: return QStringLiteral("Лишний пробел в конце описания.");
        case DescriptionReason::NotAnOption: return QStringLiteral("«%1» — не параметр рисунка.").arg(word);
        case DescriptionReason::GivenTwice: return QStringLiteral("Параметр %1 задан дважды.").arg(word);
        case DescriptionReason::NoValue: return QStringLiteral("У параметра %1 нет значения.").arg(word);
        case DescriptionReason::Missing: return QStringLiteral("Не задан параметр %1.").arg(word);
        case DescriptionReason::BadValue:
            return QStringLiteral("Значение «%1» параметра %2 недопустимо.").arg(QString::fromStdString(e.value), word);
        case DescriptionReason::Parameter: return ParamRefusalText(*e.param);
    }
    return {};
}

QString LargeRequestQuestion(const QString& file, const RequestCost& cost) {
    if (cost.MapSteps() <= kMaxQuietMapSteps) return {};
    return QStringLiteral(
               "Рисунок «%1» задаёт %2 начальных точек по %3 шагов: до %4 шагов отображения, больше %5. "
               "Вычисление может занять очень много времени.\n\nВычислить?")
        .arg(file)
        .arg(cost.startPoints)
        .arg(cost.steps)
        .arg(cost.MapSteps(), 0, 'g', 3)
        .arg(kMaxQuietMapSteps, 0, 'g', 3);
}

}  // namespace orbitograph
