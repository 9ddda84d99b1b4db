#include "campus/AddressBookDetailedViewController.h"

#include "platform/ui/View.h"

void AddressBookDetailedViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(kTitle);
}
