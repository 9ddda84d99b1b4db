#pragma once

#include <memory>
#include <string>
#include <vector>

#include "career/EmploymentListDelegates.h"
#include "platform/ui/ViewController.h"

class CareerTalk;
class EmploymentScrollView;
class Internship;
class JobFair;
class Recruitment;

// The career-services hub "就业服务": recruitment notices, internships, job fairs and career
// talks, each a paged list on its own page of the tab pager. All four ask for their first
// page as the hub opens; a tapped row opens its detail screen: the recruitment detail for an
// employer, the job-fair or career-talk page for an event.
class EmploymentViewController : public platform::ViewController,
                                 public pushRecruitmentDetDelegate,
                                 public pushVCJobFairDelegate,
                                 public pushVCCareerDelegate {
public:
    static constexpr const char* kTitle = "就业服务";

    EmploymentViewController();
    ~EmploymentViewController() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // The tab titles, in tab order (their blanks belong to them).
    static const std::vector<std::string>& tabTitles();

    // Opens the employer's recruitment detail under the title, for the list kind.
    void pushRecruitmentDetail(const std::string& name, const std::string& naviTitile,
                               const std::string& type) override;
    // Opens the job fair (career talk) at the row of the array under the title.
    void pushVC(const platform::IndexPath& indexPath, const std::vector<JobFairModel>& array,
                const std::string& naviTitile) override;
    void pushCareerDetail(const platform::IndexPath& indexPath,
                          const std::vector<JobFairModel>& array,
                          const std::string& naviTitile) override;

    const std::shared_ptr<EmploymentScrollView>& employmentSV() const { return m_employmentSV; }
    const std::shared_ptr<Recruitment>& recruitment() const { return m_recruitment; }
    const std::shared_ptr<Internship>& internship() const { return m_internship; }
    const std::shared_ptr<JobFair>& jobFair() const { return m_jobFair; }
    const std::shared_ptr<CareerTalk>& careerTalk() const { return m_careerTalk; }

private:
    void createTabBar();
    void createUI();
    void backBtnWithAction();
    void push(std::shared_ptr<platform::ViewController> screen);

    std::shared_ptr<EmploymentScrollView> m_employmentSV;
    std::shared_ptr<Recruitment> m_recruitment;
    std::shared_ptr<Internship> m_internship;
    std::shared_ptr<JobFair> m_jobFair;
    std::shared_ptr<CareerTalk> m_careerTalk;
};
