#pragma once

#include <string>
#include <vector>

#include "career/JobFairModel.h"
#include "platform/ui/IndexPath.h"

// What the career list pages ask of the hub that holds them: open the detail of a tapped row.

// The recruitment and internship lists: the employer's detail, by the employer's name, under
// the navigation title, for the list's kind ("zp" or "sx").
class pushRecruitmentDetDelegate {
public:
    virtual ~pushRecruitmentDetDelegate() = default;
    virtual void pushRecruitmentDetail(const std::string& name, const std::string& naviTitile,
                                       const std::string& type) = 0;
};
using pushInternshipDetDelegate = pushRecruitmentDetDelegate;

// The job-fair list: the event at the row of the page's records.
class pushVCJobFairDelegate {
public:
    virtual ~pushVCJobFairDelegate() = default;
    virtual void pushVC(const platform::IndexPath& indexPath,
                        const std::vector<JobFairModel>& array, const std::string& naviTitile) = 0;
};

// The career-talk list: the same, for a career talk.
class pushVCCareerDelegate {
public:
    virtual ~pushVCCareerDelegate() = default;
    virtual void pushCareerDetail(const platform::IndexPath& indexPath,
                                  const std::vector<JobFairModel>& array,
                                  const std::string& naviTitile) = 0;
};
