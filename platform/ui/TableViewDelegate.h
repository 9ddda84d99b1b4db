#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/TableViewCell.h"

namespace platform {

class TableView;

// The phone's UITableViewDelegate, with the scroll view's callbacks. Every method is
// optional; the defaults do what "not implemented" does on the phone.
class TableViewDelegate : public virtual ScrollViewDelegate {
public:
    // The table's rowHeight unless overridden.
    virtual double heightForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath);
    // TableView::kAutomaticDimension: the table's sectionHeaderHeight (sectionFooterHeight)
    // when the section has a title or a view, or in a grouped table; otherwise none.
    virtual double heightForHeaderInSection(TableView& tableView, int section);
    virtual double heightForFooterInSection(TableView& tableView, int section);
    virtual std::shared_ptr<View> viewForHeaderInSection(TableView& /*tableView*/,
                                                         int /*section*/) {
        return nullptr;
    }
    virtual std::shared_ptr<View> viewForFooterInSection(TableView& /*tableView*/,
                                                         int /*section*/) {
        return nullptr;
    }

    virtual void willDisplayCell(TableView& /*tableView*/, TableViewCell& /*cell*/,
                                 const IndexPath& /*indexPath*/) {}
    virtual void didEndDisplayingCell(TableView& /*tableView*/, TableViewCell& /*cell*/,
                                      const IndexPath& /*indexPath*/) {}
    virtual void willDisplayHeaderView(TableView& /*tableView*/, View& /*view*/, int /*section*/) {}
    virtual void willDisplayFooterView(TableView& /*tableView*/, View& /*view*/, int /*section*/) {}

    virtual bool shouldHighlightRowAtIndexPath(TableView& /*tableView*/,
                                               const IndexPath& /*indexPath*/) {
        return true;
    }
    // The row a tap selects: the tapped one, another one, or none to refuse.
    virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView& /*tableView*/,
                                                              const IndexPath& indexPath) {
        return indexPath;
    }
    virtual void didSelectRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*indexPath*/) {
    }
    virtual std::optional<IndexPath> willDeselectRowAtIndexPath(TableView& /*tableView*/,
                                                                const IndexPath& indexPath) {
        return indexPath;
    }
    virtual void didDeselectRowAtIndexPath(TableView& /*tableView*/,
                                           const IndexPath& /*indexPath*/) {}
    virtual void accessoryButtonTappedForRowWithIndexPath(TableView& /*tableView*/,
                                                          const IndexPath& /*indexPath*/) {}

    virtual TableViewCellEditingStyle editingStyleForRowAtIndexPath(
        TableView& /*tableView*/, const IndexPath& /*indexPath*/) {
        return TableViewCellEditingStyle::Delete;
    }
    virtual std::string titleForDeleteConfirmationButtonForRowAtIndexPath(
        TableView& /*tableView*/, const IndexPath& /*indexPath*/) {
        return "Delete";
    }
};

}  // namespace platform
