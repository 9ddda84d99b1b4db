#include "platform/ui/TableViewDelegate.h"

#include "platform/ui/TableView.h"

namespace platform {

double TableViewDelegate::heightForRowAtIndexPath(TableView& tableView,
                                                  const IndexPath& /*indexPath*/) {
    return tableView.rowHeight();
}

double TableViewDelegate::heightForHeaderInSection(TableView& /*tableView*/, int /*section*/) {
    return TableView::kAutomaticDimension;
}

double TableViewDelegate::heightForFooterInSection(TableView& /*tableView*/, int /*section*/) {
    return TableView::kAutomaticDimension;
}

}  // namespace platform
