#pragma once

#include <memory>

#include "career/EmploymentListDelegates.h"
#include "career/EmploymentListPage.h"
#include "career/RecruitmentModel.h"

// The internships "实习信息": a tapped employer opens its recruitment detail as an internship.
class Internship : public EmploymentListPage<RecruitmentModel> {
public:
    static constexpr Kind kKind{"sx", "实习信息", "实习信息：%@"};

    Internship() : EmploymentListPage(kKind) {}
    static std::shared_ptr<Internship> create() { return EmploymentListPage::create<Internship>(); }

    std::shared_ptr<pushInternshipDetDelegate> pushIDDelegate() const {
        return m_pushIDDelegate.lock();
    }
    void setPushIDDelegate(std::weak_ptr<pushInternshipDetDelegate> delegate) {
        m_pushIDDelegate = std::move(delegate);
    }

protected:
    void openRow(const platform::IndexPath& indexPath) override;

private:
    std::weak_ptr<pushInternshipDetDelegate> m_pushIDDelegate;
};
