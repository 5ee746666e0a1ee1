#include "model/report.h"

#include "model/number_text.h"

namespace orbitograph {

ReportLines BuildReport(const ModelParams& p, const ListCounts& c) {
    // Latin: A, Dc, Kc, N, h and the C of "(C)". Cyrillic: the region
    // letters Т О М Н (U+0422, U+041E, U+041C, U+041D) of lines 11 and 16-19.
    ReportLines r;
    r.reserve(19);
    r.push_back("Параметры и исходные данные модели:");
    r.push_back("Параметр A=" + FormatFixed(p.a, 6));
    r.push_back("Внешнее воздействие (C):");
    r.push_back(p.dcOutward == 0 ? "Направление воздействия Dc: внутрь" : "Направление воздействия Dc: во вне");
    r.push_back(p.kcOutward == 0 ? "Направление воздействия Kc: внутрь" : "Направление воздействия Kc: во вне");
    r.push_back("Dc = " + FormatFixed(p.dc, 6) + "    Kc=" + FormatFixed(p.kc, 6));
    r.push_back("Число итераций (N)=" + FormatInt(p.iterations));
    r.push_back("Шаг (h)=" + FormatFixed(p.step, 2));
    r.push_back("\n");
    r.push_back("Пространство аттракторов:");
    r.push_back("аттракторы лежат в областях \u0422\u041E\u041C\u041D (черный цвет точек)=" + FormatInt(c.attractors));
    r.push_back("\n");
    r.push_back("Пространство бассейнов:");
    r.push_back("серый цвет бассейна - его аттракторы стремятся к нулю=" + FormatInt(c.zero));
    r.push_back("розовый цвет бассейна - его аттракторы лежат в бесконечности=" + FormatInt(c.infinity));
    r.push_back("зеленый цвет бассейна - его аттракторы лежат в области \u0422=" + FormatInt(c.t));
    r.push_back("красный цвет бассейна - его аттракторы лежат в области \u041E=" + FormatInt(c.o));
    r.push_back("голубой цвет бассейна - его аттракторы лежат в области \u041C=" + FormatInt(c.m));
    r.push_back("оранжевый цвет бассейна - его аттракторы лежат в области \u041D=" + FormatInt(c.h));
    return r;
}

}  // namespace orbitograph
