#pragma once

#include <memory>
#include <vector>

namespace platform {

class ModalAlert;

// The alerts on screen, oldest first; the last one is on top and takes the user's taps.
// While any is shown the screen below is blocked: the UI driver and hit-testing ask
// isModalBlocking before they deliver a tap below the alerts. The registry keeps shown
// alerts alive, as the phone keeps a shown alert until it is dismissed. Main thread only.
class AlertPresenter {
public:
    static AlertPresenter& shared();

    // Puts the alert on top (an alert shown again moves to the top).
    void show(std::shared_ptr<ModalAlert> alert);
    void remove(const ModalAlert* alert);
    bool isShowing(const ModalAlert* alert) const;

    const std::vector<std::shared_ptr<ModalAlert>>& visibleAlerts() const { return m_alerts; }
    std::shared_ptr<ModalAlert> topAlert() const;
    bool isModalBlocking() const { return !m_alerts.empty(); }

    // Forgets every alert; for tests between cases.
    void reset();

private:
    AlertPresenter() = default;

    std::vector<std::shared_ptr<ModalAlert>> m_alerts;
};

}  // namespace platform
