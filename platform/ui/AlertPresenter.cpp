#include "platform/ui/AlertPresenter.h"

#include <algorithm>

#include "platform/ui/DisplayChanges.h"
#include "platform/ui/ModalAlert.h"

namespace platform {

AlertPresenter& AlertPresenter::shared() {
    static AlertPresenter presenter;
    return presenter;
}

void AlertPresenter::show(std::shared_ptr<ModalAlert> alert) {
    if (!alert || (!m_alerts.empty() && m_alerts.back() == alert)) {
        return;
    }
    remove(alert.get());
    m_alerts.push_back(std::move(alert));
    // Alerts float above the window and dim it; front ends draw them from this list.
    noteDisplayChange();
}

void AlertPresenter::remove(const ModalAlert* alert) {
    // The registry may hold the last reference; let it go only after the vector is consistent.
    std::shared_ptr<ModalAlert> keep;
    auto it = std::find_if(m_alerts.begin(), m_alerts.end(),
                           [alert](const auto& a) { return a.get() == alert; });
    if (it != m_alerts.end()) {
        keep = std::move(*it);
        m_alerts.erase(it);
        noteDisplayChange();
    }
}

bool AlertPresenter::isShowing(const ModalAlert* alert) const {
    return std::any_of(m_alerts.begin(), m_alerts.end(),
                       [alert](const auto& a) { return a.get() == alert; });
}

std::shared_ptr<ModalAlert> AlertPresenter::topAlert() const {
    return m_alerts.empty() ? nullptr : m_alerts.back();
}

void AlertPresenter::reset() {
    auto alerts = std::move(m_alerts);
    m_alerts.clear();
    if (!alerts.empty()) {
        noteDisplayChange();
    }
}

}  // namespace platform
