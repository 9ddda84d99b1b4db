#pragma once

#include <memory>

#include "career/EmploymentListDelegates.h"
#include "career/EmploymentListPage.h"
#include "career/JobFairModel.h"

// The job fairs "招聘会": a tapped event opens the job-fair detail page with its record.
class JobFair : public EmploymentListPage<JobFairModel> {
public:
    static constexpr Kind kKind{"zph", "招聘会", "招聘会：%@"};

    JobFair() : EmploymentListPage(kKind) {}
    static std::shared_ptr<JobFair> create() { return EmploymentListPage::create<JobFair>(); }

    std::shared_ptr<pushVCJobFairDelegate> pushDetailDelegate() const {
        return m_pushDetailDelegate.lock();
    }
    void setPushDetailDelegate(std::weak_ptr<pushVCJobFairDelegate> delegate) {
        m_pushDetailDelegate = std::move(delegate);
    }

protected:
    void openRow(const platform::IndexPath& indexPath) override;

private:
    std::weak_ptr<pushVCJobFairDelegate> m_pushDetailDelegate;
};
