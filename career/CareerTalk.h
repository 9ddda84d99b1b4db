#pragma once

#include <memory>

#include "career/EmploymentListDelegates.h"
#include "career/EmploymentListPage.h"
#include "career/JobFairModel.h"

// The career talks "宣讲会": a tapped event opens the career-talk detail page with its record.
class CareerTalk : public EmploymentListPage<JobFairModel> {
public:
    static constexpr Kind kKind{"xjh", "宣讲会", "宣讲会：%@"};

    CareerTalk() : EmploymentListPage(kKind) {}
    static std::shared_ptr<CareerTalk> create() { return EmploymentListPage::create<CareerTalk>(); }

    std::shared_ptr<pushVCCareerDelegate> pushDetailDelegate() const {
        return m_pushDetailDelegate.lock();
    }
    void setPushDetailDelegate(std::weak_ptr<pushVCCareerDelegate> delegate) {
        m_pushDetailDelegate = std::move(delegate);
    }

protected:
    void openRow(const platform::IndexPath& indexPath) override;

private:
    std::weak_ptr<pushVCCareerDelegate> m_pushDetailDelegate;
};
