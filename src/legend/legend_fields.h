#pragma once

#include <QString>

namespace orbitograph {

// The legend's names and bounds, as the legend dialog edits them.
struct LegendFields {
    QString m_nameHx;
    QString m_nameHy;
    double m_maxHx = 0.0;
    double m_minHx = 0.0;
    double m_maxHy = 0.0;
    double m_minHy = 0.0;
    QString m_regionT;
    QString m_regionO;
    QString m_regionM;
    QString m_regionH;
    friend bool operator==(const LegendFields&, const LegendFields&) = default;
};

}  // namespace orbitograph
