#pragma once

#include "platform/foundation/Json.h"
#include "platform/ui/ViewController.h"

// The member detail page "联系人信息" of one staff member, opened by the directory's member
// lists and search with the member object as the service sent it. For now it keeps the
// member and shows its title; the rows, calling, texting and saving come with the page itself.
class AddressBookDetailedViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "联系人信息";

    // The member, set by the opener before the screen is pushed.
    void setDic(platform::Json member) { m_dic = std::move(member); }
    const platform::Json& dic() const { return m_dic; }

    void viewDidLoad() override;

private:
    platform::Json m_dic = platform::Json::object();
};
