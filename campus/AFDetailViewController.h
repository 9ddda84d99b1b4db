#pragma once

#include <memory>

#include "campus/AcademicForum.h"
#include "platform/ui/ViewController.h"

namespace platform {
class ScrollView;
}
class AFDetailScrollView;

// The lecture detail page "学术讲座": one lecture of the list as a card of seven captioned rows
// under the heading "讲座信息". The card never scrolls itself; the page scrolls over it, so a
// long introduction or content can be read to the end. It asks no service.
class AFDetailViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "学术讲座";
    static constexpr const char* kHeading = "讲座信息";

    AFDetailViewController();
    ~AFDetailViewController() override;

    // The lecture shown; set before the page is pushed.
    const AcademicForum& academicForum() const { return m_academicForum; }
    void setAcademicForum(AcademicForum lecture) { m_academicForum = std::move(lecture); }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    const std::shared_ptr<platform::ScrollView>& myScrollView() const { return m_myScrollView; }
    const std::shared_ptr<AFDetailScrollView>& card() const { return m_card; }

private:
    void createTabBar();
    void backBtnWithAction();

    AcademicForum m_academicForum;
    std::shared_ptr<platform::ScrollView> m_myScrollView;
    std::shared_ptr<AFDetailScrollView> m_card;
};
