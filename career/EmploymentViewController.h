#pragma once

#include <memory>

#include "platform/ui/ViewController.h"

class EmploymentScrollView;

// The career-services hub "就业服务": the four career lists on the pages of a tab pager.
// The lists themselves come with the career screens; until then the pages are empty.
class EmploymentViewController : public platform::ViewController {
public:
    EmploymentViewController();
    ~EmploymentViewController() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    const std::shared_ptr<EmploymentScrollView>& employmentSV() const { return m_employmentSV; }

private:
    void createTabBar();
    void createUI();
    void backBtnWithAction();

    std::shared_ptr<EmploymentScrollView> m_employmentSV;
};
