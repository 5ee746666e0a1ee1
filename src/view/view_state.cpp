#include "view/view_state.h"

namespace orbitograph {

ModelParams ViewState::Params() const {
    ModelParams p;
    p.x1 = m_x1;
    p.x2 = m_x2;
    p.y1 = m_y1;
    p.y2 = m_y2;
    p.a = m_a;
    p.step = m_step;
    p.dcOutward = m_dcOutward;
    p.kcOutward = m_kcOutward;
    p.dc = m_dc;
    p.kc = m_kc;
    p.iterations = m_iterations;
    return p;
}

void ViewState::SetParams(const ModelParams& p) {
    m_x1 = p.x1;
    m_x2 = p.x2;
    m_y1 = p.y1;
    m_y2 = p.y2;
    m_a = p.a;
    m_step = p.step;
    m_dcOutward = p.dcOutward;
    m_kcOutward = p.kcOutward;
    m_dc = p.dc;
    m_kc = p.kc;
    m_iterations = p.iterations;
}

}  // namespace orbitograph
