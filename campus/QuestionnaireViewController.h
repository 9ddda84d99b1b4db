#pragma once

#include "platform/ui/ViewController.h"

// The questionnaire page. Its web view comes with the campus screens; for now it shows its title.
class QuestionnaireViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "问卷调查";

    void viewDidLoad() override;
};
