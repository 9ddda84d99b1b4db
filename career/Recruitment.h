#pragma once

#include <memory>

#include "career/EmploymentListDelegates.h"
#include "career/EmploymentListPage.h"
#include "career/RecruitmentModel.h"

// The recruitment notices "招聘信息": a tapped employer opens its recruitment detail.
class Recruitment : public EmploymentListPage<RecruitmentModel> {
public:
    static constexpr Kind kKind{"zp", "招聘信息", "招聘信息：%@"};

    Recruitment() : EmploymentListPage(kKind) {}
    static std::shared_ptr<Recruitment> create() {
        return EmploymentListPage::create<Recruitment>();
    }

    std::shared_ptr<pushRecruitmentDetDelegate> pushRDDelegate() const {
        return m_pushRDDelegate.lock();
    }
    void setPushRDDelegate(std::weak_ptr<pushRecruitmentDetDelegate> delegate) {
        m_pushRDDelegate = std::move(delegate);
    }

protected:
    void openRow(const platform::IndexPath& indexPath) override;

private:
    std::weak_ptr<pushRecruitmentDetDelegate> m_pushRDDelegate;
};
