#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCell.h"

namespace platform {

class TableView;

// The phone's UITableViewDataSource. The row count and the cells are required; everything
// else has the phone's default.
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;

    virtual int numberOfSections(TableView& /*tableView*/) { return 1; }
    virtual int numberOfRowsInSection(TableView& tableView, int section) = 0;
    // Usually a cell from tableView.dequeueReusableCellWithIdentifier, filled for the row.
    virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                                 const IndexPath& indexPath) = 0;

    // No title means no header (footer) in a plain table unless the delegate gives a view.
    virtual std::optional<std::string> titleForHeaderInSection(TableView& /*tableView*/,
                                                               int /*section*/) {
        return std::nullopt;
    }
    virtual std::optional<std::string> titleForFooterInSection(TableView& /*tableView*/,
                                                               int /*section*/) {
        return std::nullopt;
    }

    // The titles of the index down the table's right edge; none means no index.
    virtual std::vector<std::string> sectionIndexTitlesForTableView(TableView& /*tableView*/) {
        return {};
    }
    // The section a tap on index title `index` scrolls to.
    virtual int sectionForSectionIndexTitle(TableView& /*tableView*/, const std::string& /*title*/,
                                            int index) {
        return index;
    }

    virtual bool canEditRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*indexPath*/) {
        return true;
    }
    // A swipe-to-delete (or an insert control) was confirmed; the data source changes its
    // data and tells the table (deleteRowsAtIndexPaths / insertRowsAtIndexPaths).
    virtual void commitEditingStyle(TableView& /*tableView*/, TableViewCellEditingStyle /*style*/,
                                    const IndexPath& /*indexPath*/) {}
    virtual bool canMoveRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*indexPath*/) {
        return false;
    }
    virtual void moveRowAtIndexPath(TableView& /*tableView*/, const IndexPath& /*from*/,
                                    const IndexPath& /*to*/) {}
};

}  // namespace platform
