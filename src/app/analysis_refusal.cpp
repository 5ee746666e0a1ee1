#include "app/analysis_refusal.h"

#include <cstdint>

namespace orbitograph {

QString AnalysisRefusalWords(AnalysisRefusal refusal) {
    QString why;
    switch (refusal) {
        case AnalysisRefusal::DeltaNotValid:
            why = QStringLiteral("расстояние слияния циклов должно быть числом от 0 до inf.");
            break;
        case AnalysisRefusal::TooManyPoints:
            why = QStringLiteral(
                      "в сетке больше %1 начальных точек, а каждая требует для анализа ещё 16 байт "
                      "памяти. Увеличьте шаг или уменьшите область.")
                      .arg(kMaxAnalysisStartPoints);
            break;
        case AnalysisRefusal::TooManyIterations:
            why = QStringLiteral("номера шагов в анализе 32-битные: возьмите не больше %1 итераций.")
                      .arg(std::int64_t{INT32_MAX} - 1);
            break;
    }
    return QStringLiteral(
               "Анализ орбит для этих параметров не выполняется: %1\n"
               "Бассейны раскрашены по областям, окно «Аттракторы» закрыто.")
        .arg(why);
}

}  // namespace orbitograph
