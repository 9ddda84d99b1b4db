#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/IndexPath.h"
#include "platform/ui/ReusePool.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/VisibleCells.h"

namespace platform {

class TableViewDataSource;
class TableViewDelegate;
class TableViewIndex;

enum class TableViewStyle { Plain, Grouped };
enum class TableViewCellSeparatorStyle { None, SingleLine, SingleLineEtched };
enum class TableViewScrollPosition { None, Top, Middle, Bottom };
enum class TableViewRowAnimation { Fade, Right, Left, Top, Bottom, None, Middle, Automatic };

// The phone's UITableView: rows in sections, one column, scrolling vertically. The table
// asks its data source for cells only for the rows in view, places them, and hands cells
// that leave the view back out through dequeueReusableCellWithIdentifier. Headers of a
// plain table stay at the top while their section scrolls under them. The table loads its
// data on its first layout, on reloadData, and after the row updates below.
class TableView : public ScrollView {
public:
    // A height the delegate returns to leave the choice to the table.
    static constexpr double kAutomaticDimension = -1;

    explicit TableView(TableViewStyle style = TableViewStyle::Plain);
    TableView(const Rect& frame, TableViewStyle style = TableViewStyle::Plain);
    ~TableView() override;

    TableViewStyle style() const { return m_style; }
    std::shared_ptr<TableViewDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDataSource(std::weak_ptr<TableViewDataSource> dataSource);
    std::shared_ptr<TableViewDelegate> delegate() const;
    void setDelegate(std::weak_ptr<TableViewDelegate> delegate);

    // --- Geometry settings ----------------------------------------------------------------
    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double height);
    double sectionHeaderHeight() const { return m_sectionHeaderHeight; }
    void setSectionHeaderHeight(double height);
    double sectionFooterHeight() const { return m_sectionFooterHeight; }
    void setSectionFooterHeight(double height);
    // Above the first section / below the last, as tall as their frames; the table sets
    // their origin and width.
    const std::shared_ptr<View>& tableHeaderView() const { return m_tableHeaderView; }
    void setTableHeaderView(std::shared_ptr<View> view);
    const std::shared_ptr<View>& tableFooterView() const { return m_tableFooterView; }
    void setTableFooterView(std::shared_ptr<View> view);
    // Behind everything, filling the view (not scrolling).
    const std::shared_ptr<View>& backgroundView() const { return m_backgroundView; }
    void setBackgroundView(std::shared_ptr<View> view);

    // --- Appearance -----------------------------------------------------------------------
    TableViewCellSeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(TableViewCellSeparatorStyle style);
    const Color& separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(const Color& color);
    const EdgeInsets& separatorInset() const { return m_separatorInset; }
    void setSeparatorInset(const EdgeInsets& inset);
    const EdgeInsets& layoutMargins() const { return m_layoutMargins; }
    void setLayoutMargins(const EdgeInsets& margins) { m_layoutMargins = margins; }
    std::optional<Color> sectionIndexColor() const { return m_sectionIndexColor; }
    void setSectionIndexColor(std::optional<Color> color);
    std::optional<Color> sectionIndexBackgroundColor() const {
        return m_sectionIndexBackgroundColor;
    }
    void setSectionIndexBackgroundColor(std::optional<Color> color);
    std::optional<Color> sectionIndexTrackingBackgroundColor() const {
        return m_sectionIndexTrackingBackgroundColor;
    }
    void setSectionIndexTrackingBackgroundColor(std::optional<Color> color) {
        m_sectionIndexTrackingBackgroundColor = color;
    }
    // The index shows only when the table has at least this many rows.
    int sectionIndexMinimumDisplayRowCount() const { return m_sectionIndexMinimumDisplayRowCount; }
    void setSectionIndexMinimumDisplayRowCount(int count);

    // --- Selection and editing settings -----------------------------------------------------
    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }
    bool allowsMultipleSelection() const { return m_allowsMultipleSelection; }
    void setAllowsMultipleSelection(bool allows) { m_allowsMultipleSelection = allows; }
    bool allowsSelectionDuringEditing() const { return m_allowsSelectionDuringEditing; }
    void setAllowsSelectionDuringEditing(bool allows) { m_allowsSelectionDuringEditing = allows; }
    bool isEditing() const { return m_editing; }
    void setEditing(bool editing, bool animated = false);

    // --- Cells ------------------------------------------------------------------------------
    using CellFactory =
        std::function<std::shared_ptr<TableViewCell>(const std::string& identifier)>;
    // Cells of type T (made with the Default style and the identifier) for identifier.
    template <typename T>
    void registerClass(const std::string& identifier) {
        registerCellFactory(identifier, [](const std::string& id) {
            return View::make<T>(TableViewCellStyle::Default, id);
        });
    }
    void registerCellFactory(const std::string& identifier, CellFactory factory);
    // A cell that left the view, made ready by prepareForReuse; else a new one when the
    // identifier is registered; else none.
    std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
    // Always a cell: an unregistered identifier with no cell to reuse gets a Default cell.
    std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier,
                                                                     const IndexPath& indexPath);

    // --- Data -------------------------------------------------------------------------------
    // Asks the data source and delegate afresh for counts, heights and headers, clears the
    // selection and fills the view with new cells (reusing the old ones).
    void reloadData();
    // The data source has already changed; the table follows it, asking only for the rows
    // that are new or reloaded. Selected rows follow their row.
    void insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                TableViewRowAnimation animation = TableViewRowAnimation::Automatic);
    void deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                TableViewRowAnimation animation = TableViewRowAnimation::Automatic);
    void reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                TableViewRowAnimation animation = TableViewRowAnimation::Automatic);
    void reloadSections(const std::vector<int>& sections,
                        TableViewRowAnimation animation = TableViewRowAnimation::Automatic);
    void insertSections(const std::vector<int>& sections,
                        TableViewRowAnimation animation = TableViewRowAnimation::Automatic);
    void deleteSections(const std::vector<int>& sections,
                        TableViewRowAnimation animation = TableViewRowAnimation::Automatic);
    // Updates between begin and end are applied together at the end.
    void beginUpdates();
    void endUpdates();

    // Counts as of the last load.
    int numberOfSections() const;
    int numberOfRowsInSection(int section) const;
    // The index titles as of the last load.
    const std::vector<std::string>& sectionIndexTitles() const { return m_indexTitles; }

    // --- Geometry (content coordinates) ---------------------------------------------------------
    Rect rectForSection(int section) const;
    Rect rectForRowAtIndexPath(const IndexPath& indexPath) const;
    Rect rectForHeaderInSection(int section) const;
    Rect rectForFooterInSection(int section) const;
    std::optional<IndexPath> indexPathForRowAtPoint(Point point) const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell& cell) const;
    std::vector<IndexPath> indexPathsForRowsInRect(const Rect& rect) const;

    // --- What shows ---------------------------------------------------------------------------
    // The cell shown for the row; none when the row is out of view.
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath) const;
    // In row order.
    std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    std::shared_ptr<View> headerViewForSection(int section) const;
    std::shared_ptr<View> footerViewForSection(int section) const;
    // The section index down the right edge, while it shows.
    std::shared_ptr<TableViewIndex> sectionIndexView() const;

    void scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position,
                                bool animated);
    // A tap on the section index's title `index`: the table scrolls to the section the data
    // source names for it. Returns false for an index out of range.
    bool tapSectionIndexTitle(int index);

    // --- Selection ----------------------------------------------------------------------------
    std::optional<IndexPath> indexPathForSelectedRow() const;
    std::vector<IndexPath> indexPathsForSelectedRows() const;
    // Selects without telling the delegate (none deselects all).
    void selectRowAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated,
                              TableViewScrollPosition position);
    void deselectRowAtIndexPath(const IndexPath& indexPath, bool animated);
    // A user's tap on the row: highlight, will-select, deselection of the previous row (with
    // its delegate calls), selection and did-select. Returns whether a row was selected.
    bool tapRowAtIndexPath(const IndexPath& indexPath);
    bool tapAccessoryButtonForRowAtIndexPath(const IndexPath& indexPath);
    // A user's swipe-to-delete and its confirmation: commits Delete through the data source
    // when the row may be edited. Returns whether it did.
    bool swipeToDeleteRowAtIndexPath(const IndexPath& indexPath);

    // --- View -------------------------------------------------------------------------------
    void setFrame(const Rect& frame) override;
    void layoutSubviews() override;
    // The separators of the empty rows a plain table without a footer view shows under its
    // last row.
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;
    void touchesBegan(const Touches& touches) override;
    void touchesMoved(const Touches& touches) override;
    void touchesEnded(const Touches& touches) override;
    void touchesCancelled(const Touches& touches) override;

    static constexpr double kDefaultRowHeight = 44;

protected:
    void contentOffsetDidChange() override;

private:
    struct Section;

    void init();
    bool isValid(const IndexPath& indexPath) const;
    void loadGeometry();
    void relayoutContent();
    void tileCells();
    void placeSupplementaryViews();
    void placeIndex();
    void recycleCell(const IndexPath& indexPath, const std::shared_ptr<TableViewCell>& cell);
    void configureCell(TableViewCell& cell, const IndexPath& indexPath);
    void deselectWithDelegate(const IndexPath& indexPath);
    double contentHeightOfSections() const;
    void applyRowUpdates();

    TableViewStyle m_style{TableViewStyle::Plain};
    std::weak_ptr<TableViewDataSource> m_dataSource;
    double m_rowHeight{kDefaultRowHeight};
    double m_sectionHeaderHeight{22};
    double m_sectionFooterHeight{22};
    std::shared_ptr<View> m_tableHeaderView;
    std::shared_ptr<View> m_tableFooterView;
    std::shared_ptr<View> m_backgroundView;
    TableViewCellSeparatorStyle m_separatorStyle{TableViewCellSeparatorStyle::SingleLine};
    Color m_separatorColor{Color::rgba(0.78f, 0.78f, 0.8f)};
    EdgeInsets m_separatorInset{0, 15, 0, 0};
    EdgeInsets m_layoutMargins{8, 8, 8, 8};
    std::optional<Color> m_sectionIndexColor;
    std::optional<Color> m_sectionIndexBackgroundColor;
    std::optional<Color> m_sectionIndexTrackingBackgroundColor;
    int m_sectionIndexMinimumDisplayRowCount{0};
    bool m_allowsSelection{true};
    bool m_allowsMultipleSelection{false};
    bool m_allowsSelectionDuringEditing{false};
    bool m_editing{false};

    // As of the last load.
    std::vector<Section> m_sections;
    std::vector<std::string> m_indexTitles;
    double m_sectionsTop{0};
    double m_sectionsBottom{0};
    bool m_loaded{false};
    bool m_tiling{false};
    int m_updateDepth{0};
    bool m_updatesPending{false};

    // The shown cells and the selection.
    VisibleCells<TableViewCell> m_cells;
    ReusePool<TableViewCell> m_reusePool;
    std::shared_ptr<TableViewIndex> m_indexView;
    // The row a finger went down on, and where (window coordinates), until the finger lifts or
    // wanders off as a drag.
    std::optional<IndexPath> m_touchedRow;
    Point m_touchBegan;
};

}  // namespace platform
