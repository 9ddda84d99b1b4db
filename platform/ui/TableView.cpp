#include "platform/ui/TableView.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/BitmapContext.h"
#include "platform/ui/IndexPathRemap.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TableViewIndex.h"

namespace platform {

struct TableView::Section {
    double top = 0;
    double headerHeight = 0;
    std::vector<double> rowTops;
    std::vector<double> rowHeights;
    double rowsBottom = 0;
    double footerHeight = 0;
    double bottom = 0;
    // The views shown above and below the rows: the delegate's, or ours for a title.
    std::shared_ptr<View> headerView;
    std::shared_ptr<View> footerView;

    int rowCount() const { return int(rowTops.size()); }
};

namespace {

// A header or footer showing the data source's title.
std::shared_ptr<View> makeTitleView(const std::string& title, TableViewStyle style, double width,
                                    double height, bool header) {
    auto view = View::make<View>(Rect{{0, 0}, {width, height}});
    view->setBackgroundColor(style == TableViewStyle::Plain ? Color::whiteAlpha(0.97f, 1)
                                                            : Color::clear());
    auto label = View::make<Label>(Rect{{15, 0}, {std::max(0.0, width - 30), height}});
    label->setText(title);
    label->setBackgroundColor(Color::clear());
    if (style == TableViewStyle::Plain) {
        label->setFont(Font::boldSystemFont(header ? 14 : 13));
    } else {
        label->setFont(Font::systemFont(13));
        label->setTextColor(Color::whiteAlpha(0.43f, 1));
    }
    label->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    view->addSubview(label);
    return view;
}

double sanitizedHeight(double height, double fallback) {
    if (!std::isfinite(height)) {
        return fallback;
    }
    return std::max(0.0, height);
}

}  // namespace

TableView::TableView(TableViewStyle style) : m_style(style) {
    init();
}

TableView::TableView(const Rect& frame, TableViewStyle style) : ScrollView(frame), m_style(style) {
    init();
}

TableView::~TableView() = default;

void TableView::init() {
    // Tables bounce vertically however few rows they hold, so they can always be pulled.
    setAlwaysBounceVertical(true);
    setBackgroundColor(m_style == TableViewStyle::Plain ? Color::white()
                                                        : Color::rgba(0.94f, 0.94f, 0.96f));
    if (m_style == TableViewStyle::Grouped) {
        m_sectionHeaderHeight = 28;
        m_sectionFooterHeight = 28;
    }
}

void TableView::setDataSource(std::weak_ptr<TableViewDataSource> dataSource) {
    m_dataSource = std::move(dataSource);
    m_loaded = false;
    setNeedsLayout();
}

std::shared_ptr<TableViewDelegate> TableView::delegate() const {
    return std::dynamic_pointer_cast<TableViewDelegate>(ScrollView::delegate());
}

void TableView::setDelegate(std::weak_ptr<TableViewDelegate> delegate) {
    auto strong = delegate.lock();
    ScrollView::setDelegate(std::static_pointer_cast<ScrollViewDelegate>(strong));
    if (m_loaded) {
        relayoutContent();
    }
}

// --- Settings -----------------------------------------------------------------------------

void TableView::setRowHeight(double height) {
    setDisplayed(m_rowHeight, sanitizedHeight(height, kDefaultRowHeight));
    if (m_loaded) {
        relayoutContent();
    }
}

void TableView::setSectionHeaderHeight(double height) {
    m_sectionHeaderHeight = sanitizedHeight(height, 0);
    if (m_loaded) {
        relayoutContent();
    }
}

void TableView::setSectionFooterHeight(double height) {
    m_sectionFooterHeight = sanitizedHeight(height, 0);
    if (m_loaded) {
        relayoutContent();
    }
}

void TableView::setTableHeaderView(std::shared_ptr<View> view) {
    if (m_tableHeaderView && m_tableHeaderView != view) {
        m_tableHeaderView->removeFromSuperview();
    }
    m_tableHeaderView = std::move(view);
    if (m_tableHeaderView) {
        addSubview(m_tableHeaderView);
    }
    // Setting the header again after changing its height moves the sections, as the phone.
    if (m_loaded) {
        relayoutContent();
    }
}

void TableView::setTableFooterView(std::shared_ptr<View> view) {
    if (m_tableFooterView && m_tableFooterView != view) {
        m_tableFooterView->removeFromSuperview();
    }
    m_tableFooterView = std::move(view);
    if (m_tableFooterView) {
        addSubview(m_tableFooterView);
    }
    if (m_loaded) {
        relayoutContent();
    }
}

void TableView::setBackgroundView(std::shared_ptr<View> view) {
    if (m_backgroundView && m_backgroundView != view) {
        m_backgroundView->removeFromSuperview();
    }
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        insertSubview(m_backgroundView, 0);
        m_backgroundView->setFrame(bounds());
    }
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style) {
    setDisplayed(m_separatorStyle, style);
    for (auto& [path, cell] : m_cells) {
        configureCell(*cell, path);
    }
}

void TableView::setSeparatorColor(const Color& color) {
    setDisplayed(m_separatorColor, color);
    for (auto& [path, cell] : m_cells) {
        configureCell(*cell, path);
    }
}

void TableView::setSeparatorInset(const EdgeInsets& inset) {
    setDisplayed(m_separatorInset, inset);
    for (auto& [path, cell] : m_cells) {
        configureCell(*cell, path);
    }
}

void TableView::setSectionIndexColor(std::optional<Color> color) {
    m_sectionIndexColor = color;
    placeIndex();
}

void TableView::setSectionIndexBackgroundColor(std::optional<Color> color) {
    m_sectionIndexBackgroundColor = color;
    placeIndex();
}

void TableView::setSectionIndexMinimumDisplayRowCount(int count) {
    m_sectionIndexMinimumDisplayRowCount = count;
    placeIndex();
}

void TableView::setEditing(bool editing, bool animated) {
    m_editing = editing;
    for (auto& [path, cell] : m_cells) {
        cell->setEditing(editing, animated);
    }
}

// --- Cells --------------------------------------------------------------------------------

void TableView::registerCellFactory(const std::string& identifier, CellFactory factory) {
    ReusePool<TableViewCell>::Factory make;
    if (factory) {
        make = [factory = std::move(factory), identifier] { return factory(identifier); };
    }
    m_reusePool.registerFactory(identifier, std::move(make));
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(
    const std::string& identifier) {
    return m_reusePool.dequeue(identifier);
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(
    const std::string& identifier, const IndexPath& /*indexPath*/) {
    if (auto cell = dequeueReusableCellWithIdentifier(identifier)) {
        return cell;
    }
    // The phone stops the program here; a plain cell keeps the table usable instead.
    return View::make<TableViewCell>(TableViewCellStyle::Default, identifier);
}

void TableView::recycleCell(const IndexPath& indexPath,
                            const std::shared_ptr<TableViewCell>& cell) {
    if (!cell) {
        return;
    }
    cell->setHighlighted(false);
    m_reusePool.enqueue(cell);
    if (auto delegate = this->delegate()) {
        delegate->didEndDisplayingCell(*this, *cell, indexPath);
    }
}

void TableView::configureCell(TableViewCell& cell, const IndexPath& indexPath) {
    cell.setFrame(rectForRowAtIndexPath(indexPath));
    cell.setSelected(m_cells.isSelected(indexPath));
    cell.setEditing(m_editing);
    EdgeInsets inset = m_separatorInset;
    if (m_style == TableViewStyle::Grouped && indexPath.section < int(m_sections.size()) &&
        indexPath.row == m_sections[indexPath.section].rowCount() - 1) {
        inset = EdgeInsets{};
    }
    cell.setSeparator(m_separatorStyle != TableViewCellSeparatorStyle::None, m_separatorColor,
                      inset);
}

// --- Data ---------------------------------------------------------------------------------

int TableView::numberOfSections() const {
    return int(m_sections.size());
}

int TableView::numberOfRowsInSection(int section) const {
    if (section < 0 || section >= int(m_sections.size())) {
        return 0;
    }
    return m_sections[section].rowCount();
}

bool TableView::isValid(const IndexPath& indexPath) const {
    return indexPath.section >= 0 && indexPath.section < int(m_sections.size()) &&
           indexPath.row >= 0 && indexPath.row < m_sections[indexPath.section].rowCount();
}

void TableView::loadGeometry() {
    auto self = weak_from_this().lock();
    for (auto& section : m_sections) {
        if (section.headerView) {
            section.headerView->removeFromSuperview();
        }
        if (section.footerView) {
            section.footerView->removeFromSuperview();
        }
    }
    std::vector<Section> sections;
    std::vector<std::string> indexTitles;
    auto dataSource = this->dataSource();
    auto delegate = this->delegate();
    double width = bounds().size.width;
    double y = m_tableHeaderView ? m_tableHeaderView->frame().size.height : 0;
    m_sectionsTop = y;
    if (dataSource) {
        int count = std::max(0, dataSource->numberOfSections(*this));
        sections.resize(size_t(count));
        for (int s = 0; s < count; ++s) {
            Section& section = sections[size_t(s)];
            int rows = std::max(0, dataSource->numberOfRowsInSection(*this, s));
            section.top = y;

            auto title = dataSource->titleForHeaderInSection(*this, s);
            double height =
                delegate ? delegate->heightForHeaderInSection(*this, s) : kAutomaticDimension;
            std::shared_ptr<View> view;
            if (delegate && height != 0) {
                view = delegate->viewForHeaderInSection(*this, s);
            }
            if (height < 0) {
                height = (view || title || m_style == TableViewStyle::Grouped)
                             ? m_sectionHeaderHeight
                             : 0;
            }
            height = sanitizedHeight(height, 0);
            if (!view && title && height > 0) {
                view = makeTitleView(*title, m_style, width, height, true);
            }
            section.headerHeight = height;
            section.headerView = height > 0 ? view : nullptr;
            y += height;

            section.rowTops.reserve(size_t(rows));
            section.rowHeights.reserve(size_t(rows));
            for (int r = 0; r < rows; ++r) {
                double rowHeight = delegate
                                       ? delegate->heightForRowAtIndexPath(*this, IndexPath{s, r})
                                       : m_rowHeight;
                rowHeight = sanitizedHeight(rowHeight, m_rowHeight);
                section.rowTops.push_back(y);
                section.rowHeights.push_back(rowHeight);
                y += rowHeight;
            }
            section.rowsBottom = y;

            auto footerTitle = dataSource->titleForFooterInSection(*this, s);
            double footerHeight =
                delegate ? delegate->heightForFooterInSection(*this, s) : kAutomaticDimension;
            std::shared_ptr<View> footerView;
            if (delegate && footerHeight != 0) {
                footerView = delegate->viewForFooterInSection(*this, s);
            }
            if (footerHeight < 0) {
                footerHeight = (footerView || footerTitle || m_style == TableViewStyle::Grouped)
                                   ? m_sectionFooterHeight
                                   : 0;
            }
            footerHeight = sanitizedHeight(footerHeight, 0);
            if (!footerView && footerTitle && footerHeight > 0) {
                footerView = makeTitleView(*footerTitle, m_style, width, footerHeight, false);
            }
            section.footerHeight = footerHeight;
            section.footerView = footerHeight > 0 ? footerView : nullptr;
            y += footerHeight;
            section.bottom = y;
        }
        indexTitles = dataSource->sectionIndexTitlesForTableView(*this);
    }
    m_sections = std::move(sections);
    m_indexTitles = std::move(indexTitles);
    // The plain style's empty-row lines start here.
    setDisplayed(m_sectionsBottom, y);
    if (m_tableHeaderView) {
        m_tableHeaderView->setFrame(Rect{{0, 0}, {width, m_tableHeaderView->frame().size.height}});
    }
    double footerHeight = 0;
    if (m_tableFooterView) {
        footerHeight = m_tableFooterView->frame().size.height;
        m_tableFooterView->setFrame(Rect{{0, y}, {width, footerHeight}});
    }
    setContentSize(Size{width, y + footerHeight});
}

void TableView::relayoutContent() {
    loadGeometry();
    tileCells();
}

void TableView::reloadData() {
    auto self = weak_from_this().lock();
    m_loaded = true;
    for (auto& [path, cell] : m_cells.takeAll()) {
        recycleCell(path, cell);
    }
    m_cells.clearSelection();
    m_touchedRow.reset();
    relayoutContent();
}

void TableView::applyRowUpdates() {
    m_touchedRow.reset();
    if (m_updateDepth > 0) {
        m_updatesPending = true;
        return;
    }
    m_updatesPending = false;
    relayoutContent();
}

void TableView::insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                       TableViewRowAnimation /*animation*/) {
    auto self = weak_from_this().lock();
    m_cells.follow(remapsForInsertedItems(indexPaths));
    applyRowUpdates();
}

void TableView::deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                       TableViewRowAnimation /*animation*/) {
    auto self = weak_from_this().lock();
    for (auto& [path, cell] : m_cells.follow(remapsForDeletedItems(indexPaths))) {
        recycleCell(path, cell);
    }
    applyRowUpdates();
}

void TableView::reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                       TableViewRowAnimation /*animation*/) {
    auto self = weak_from_this().lock();
    for (const auto& path : indexPaths) {
        if (auto cell = m_cells.take(path)) {
            recycleCell(path, cell);
        }
    }
    applyRowUpdates();
}

void TableView::reloadSections(const std::vector<int>& sections, TableViewRowAnimation animation) {
    std::vector<IndexPath> paths;
    for (const auto& [path, cell] : m_cells) {
        if (std::find(sections.begin(), sections.end(), path.section) != sections.end()) {
            paths.push_back(path);
        }
    }
    reloadRowsAtIndexPaths(paths, animation);
}

void TableView::insertSections(const std::vector<int>& sections,
                               TableViewRowAnimation /*animation*/) {
    auto self = weak_from_this().lock();
    m_cells.follow(remapsForInsertedSections(sections));
    applyRowUpdates();
}

void TableView::deleteSections(const std::vector<int>& sections,
                               TableViewRowAnimation /*animation*/) {
    auto self = weak_from_this().lock();
    for (auto& [path, cell] : m_cells.follow(remapsForDeletedSections(sections))) {
        recycleCell(path, cell);
    }
    applyRowUpdates();
}

void TableView::beginUpdates() {
    ++m_updateDepth;
}

void TableView::endUpdates() {
    if (m_updateDepth == 0) {
        return;
    }
    if (--m_updateDepth == 0 && m_updatesPending) {
        applyRowUpdates();
    }
}

// --- Geometry -----------------------------------------------------------------------------

Rect TableView::rectForSection(int section) const {
    if (section < 0 || section >= int(m_sections.size())) {
        return Rect{};
    }
    const Section& s = m_sections[size_t(section)];
    return Rect{{0, s.top}, {bounds().size.width, s.bottom - s.top}};
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) const {
    if (!isValid(indexPath)) {
        return Rect{};
    }
    const Section& s = m_sections[size_t(indexPath.section)];
    return Rect{{0, s.rowTops[size_t(indexPath.row)]},
                {bounds().size.width, s.rowHeights[size_t(indexPath.row)]}};
}

Rect TableView::rectForHeaderInSection(int section) const {
    if (section < 0 || section >= int(m_sections.size())) {
        return Rect{};
    }
    const Section& s = m_sections[size_t(section)];
    return Rect{{0, s.top}, {bounds().size.width, s.headerHeight}};
}

Rect TableView::rectForFooterInSection(int section) const {
    if (section < 0 || section >= int(m_sections.size())) {
        return Rect{};
    }
    const Section& s = m_sections[size_t(section)];
    return Rect{{0, s.rowsBottom}, {bounds().size.width, s.footerHeight}};
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) const {
    if (point.x < 0 || point.x >= bounds().size.width) {
        return std::nullopt;
    }
    for (int s = 0; s < int(m_sections.size()); ++s) {
        const Section& section = m_sections[size_t(s)];
        if (point.y < section.top || point.y >= section.bottom) {
            continue;
        }
        auto it = std::upper_bound(section.rowTops.begin(), section.rowTops.end(), point.y);
        if (it == section.rowTops.begin()) {
            return std::nullopt;
        }
        int row = int(it - section.rowTops.begin()) - 1;
        if (point.y < section.rowTops[size_t(row)] + section.rowHeights[size_t(row)]) {
            return IndexPath{s, row};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const {
    return m_cells.keyOf(cell);
}

std::vector<IndexPath> TableView::indexPathsForRowsInRect(const Rect& rect) const {
    std::vector<IndexPath> paths;
    double top = rect.minY();
    double bottom = rect.maxY();
    for (int s = 0; s < int(m_sections.size()); ++s) {
        const Section& section = m_sections[size_t(s)];
        if (section.rowsBottom <= top || section.top >= bottom) {
            continue;
        }
        // The first row whose bottom lies below the rect's top.
        int lo = 0;
        int hi = section.rowCount();
        while (lo < hi) {
            int mid = (lo + hi) / 2;
            if (section.rowTops[size_t(mid)] + section.rowHeights[size_t(mid)] <= top) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        for (int r = lo; r < section.rowCount() && section.rowTops[size_t(r)] < bottom; ++r) {
            if (section.rowHeights[size_t(r)] > 0) {
                paths.push_back(IndexPath{s, r});
            }
        }
    }
    return paths;
}

// --- What shows ---------------------------------------------------------------------------

void TableView::tileCells() {
    if (m_tiling) {
        return;
    }
    auto self = weak_from_this().lock();
    m_tiling = true;
    Rect visible = bounds();
    std::vector<IndexPath> wanted;
    if (visible.size.height > 0) {
        wanted = indexPathsForRowsInRect(visible);
    }

    auto leaving = m_cells.takeIf([&](const IndexPath& path) {
        return !std::binary_search(wanted.begin(), wanted.end(), path);
    });
    for (auto& [path, cell] : leaving) {
        recycleCell(path, cell);
    }

    size_t cellLayer = m_backgroundView ? 1 : 0;
    for (const auto& path : wanted) {
        if (auto existing = m_cells.find(path)) {
            configureCell(*existing, path);
            continue;
        }
        auto dataSource = this->dataSource();
        std::shared_ptr<TableViewCell> cell =
            dataSource ? dataSource->cellForRowAtIndexPath(*this, path) : nullptr;
        if (!cell) {
            // A data source that gives no cell still gets an (empty) row.
            cell = View::make<TableViewCell>();
        }
        if (!isValid(path)) {
            // The data source reloaded the table from inside the call.
            continue;
        }
        m_cells.add(path, cell);
        configureCell(*cell, path);
        if (auto delegate = this->delegate()) {
            delegate->willDisplayCell(*this, *cell, path);
        }
        insertSubview(cell, cellLayer);
    }
    placeSupplementaryViews();
    placeIndex();
    m_tiling = false;
}

void TableView::placeSupplementaryViews() {
    Rect visible = bounds();
    double top = visible.origin.y;
    double bottom = top + visible.size.height;
    double pinnedTop = top + contentInset().top;
    if (m_backgroundView) {
        m_backgroundView->setFrame(visible);
    }
    auto delegate = this->delegate();
    for (int s = 0; s < int(m_sections.size()); ++s) {
        const Section& section = m_sections[size_t(s)];
        if (auto& header = section.headerView) {
            double y = section.top;
            if (m_style == TableViewStyle::Plain) {
                // A plain table's header stays at the top until its section scrolls away.
                y = std::max(y, std::min(pinnedTop, section.bottom - section.headerHeight));
            }
            Rect rect{{0, y}, {visible.size.width, section.headerHeight}};
            if (rect.maxY() > top && rect.minY() < bottom) {
                bool added = header->superview().get() != this;
                header->setFrame(rect);
                addSubview(header);
                if (added && delegate) {
                    delegate->willDisplayHeaderView(*this, *header, s);
                }
            } else {
                header->removeFromSuperview();
            }
        }
        if (auto& footer = section.footerView) {
            Rect rect = rectForFooterInSection(s);
            if (rect.maxY() > top && rect.minY() < bottom) {
                bool added = footer->superview().get() != this;
                footer->setFrame(rect);
                if (added) {
                    addSubview(footer);
                    if (delegate) {
                        delegate->willDisplayFooterView(*this, *footer, s);
                    }
                }
            } else {
                footer->removeFromSuperview();
            }
        }
    }
}

void TableView::placeIndex() {
    int rows = 0;
    for (const auto& section : m_sections) {
        rows += section.rowCount();
    }
    bool shows = !m_indexTitles.empty() && rows >= m_sectionIndexMinimumDisplayRowCount;
    if (!shows) {
        if (m_indexView) {
            m_indexView->removeFromSuperview();
        }
        return;
    }
    if (!m_indexView) {
        m_indexView = View::make<TableViewIndex>();
        std::weak_ptr<View> weak = weak_from_this();
        m_indexView->onSelectTitle = [weak](int index) {
            if (auto table = std::static_pointer_cast<TableView>(weak.lock())) {
                table->tapSectionIndexTitle(index);
            }
        };
    }
    m_indexView->setTitles(m_indexTitles);
    m_indexView->setTextColor(m_sectionIndexColor.value_or(tintColor()));
    m_indexView->setBackgroundColor(m_sectionIndexBackgroundColor.value_or(Color::clear()));
    Rect visible = bounds();
    EdgeInsets inset = contentInset();
    m_indexView->setFrame(Rect{
        {visible.maxX() - TableViewIndex::kWidth, visible.minY() + inset.top},
        {TableViewIndex::kWidth, std::max(0.0, visible.size.height - inset.top - inset.bottom)}});
    addSubview(m_indexView);
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) const {
    return m_cells.find(indexPath);
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const {
    return m_cells.views();
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
    return m_cells.keys();
}

std::shared_ptr<View> TableView::headerViewForSection(int section) const {
    if (section < 0 || section >= int(m_sections.size())) {
        return nullptr;
    }
    auto& view = m_sections[size_t(section)].headerView;
    return view && view->superview().get() == this ? view : nullptr;
}

std::shared_ptr<View> TableView::footerViewForSection(int section) const {
    if (section < 0 || section >= int(m_sections.size())) {
        return nullptr;
    }
    auto& view = m_sections[size_t(section)].footerView;
    return view && view->superview().get() == this ? view : nullptr;
}

std::shared_ptr<TableViewIndex> TableView::sectionIndexView() const {
    return m_indexView && m_indexView->superview().get() == this ? m_indexView : nullptr;
}

void TableView::scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position,
                                       bool animated) {
    if (!isValid(indexPath)) {
        return;
    }
    Rect row = rectForRowAtIndexPath(indexPath);
    Rect visible = bounds();
    EdgeInsets inset = contentInset();
    Point offset = contentOffset();
    switch (position) {
        case TableViewScrollPosition::None:
            scrollRectToVisible(row, animated);
            return;
        case TableViewScrollPosition::Top:
            offset.y = row.minY() - inset.top;
            break;
        case TableViewScrollPosition::Middle:
            offset.y = row.midY() - visible.size.height / 2;
            break;
        case TableViewScrollPosition::Bottom:
            offset.y = row.maxY() - visible.size.height + inset.bottom;
            break;
    }
    offset.y = std::clamp(offset.y, minimumContentOffset().y, maximumContentOffset().y);
    setContentOffset(offset, animated);
}

bool TableView::tapSectionIndexTitle(int index) {
    if (index < 0 || index >= int(m_indexTitles.size()) || m_sections.empty()) {
        return false;
    }
    auto self = weak_from_this().lock();
    int section = index;
    if (auto dataSource = this->dataSource()) {
        section =
            dataSource->sectionForSectionIndexTitle(*this, m_indexTitles[size_t(index)], index);
    }
    section = std::clamp(section, 0, int(m_sections.size()) - 1);
    double y = m_sections[size_t(section)].top - contentInset().top;
    y = std::clamp(y, minimumContentOffset().y, maximumContentOffset().y);
    setContentOffset(Point{contentOffset().x, y});
    return true;
}

// --- Selection ----------------------------------------------------------------------------

std::optional<IndexPath> TableView::indexPathForSelectedRow() const {
    return m_cells.firstSelectedIndexPath();
}

std::vector<IndexPath> TableView::indexPathsForSelectedRows() const {
    return m_cells.selectedIndexPaths();
}

void TableView::selectRowAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated,
                                     TableViewScrollPosition position) {
    if (indexPath && !isValid(*indexPath)) {
        return;
    }
    m_cells.select(indexPath, m_allowsMultipleSelection);
    if (indexPath && position != TableViewScrollPosition::None) {
        scrollToRowAtIndexPath(*indexPath, position, animated);
    }
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool /*animated*/) {
    m_cells.setSelected(indexPath, false);
}

void TableView::deselectWithDelegate(const IndexPath& indexPath) {
    auto delegate = this->delegate();
    std::optional<IndexPath> target =
        delegate ? delegate->willDeselectRowAtIndexPath(*this, indexPath) : indexPath;
    if (!target) {
        return;
    }
    m_cells.setSelected(*target, false);
    if ((delegate = this->delegate())) {
        delegate->didDeselectRowAtIndexPath(*this, *target);
    }
}

bool TableView::tapRowAtIndexPath(const IndexPath& indexPath) {
    auto self = weak_from_this().lock();
    if (!isValid(indexPath)) {
        return false;
    }
    if (m_editing ? !m_allowsSelectionDuringEditing : !m_allowsSelection) {
        return false;
    }
    auto delegate = this->delegate();
    if (delegate && !delegate->shouldHighlightRowAtIndexPath(*this, indexPath)) {
        return false;
    }
    std::optional<IndexPath> target =
        delegate ? delegate->willSelectRowAtIndexPath(*this, indexPath) : indexPath;
    if (!target || !isValid(*target)) {
        return false;
    }
    if (m_allowsMultipleSelection && m_cells.isSelected(*target)) {
        // With several rows selectable, a tap on a selected row deselects it.
        deselectWithDelegate(*target);
        return false;
    }
    if (!m_allowsMultipleSelection) {
        m_cells.forEachSelectedOtherThan(
            target, [this](const IndexPath& path) { deselectWithDelegate(path); });
    }
    m_cells.setSelected(*target, true);
    if ((delegate = this->delegate())) {
        delegate->didSelectRowAtIndexPath(*this, *target);
    }
    return true;
}

bool TableView::tapAccessoryButtonForRowAtIndexPath(const IndexPath& indexPath) {
    auto self = weak_from_this().lock();
    if (!isValid(indexPath)) {
        return false;
    }
    if (auto delegate = this->delegate()) {
        delegate->accessoryButtonTappedForRowWithIndexPath(*this, indexPath);
        return true;
    }
    return false;
}

bool TableView::swipeToDeleteRowAtIndexPath(const IndexPath& indexPath) {
    auto self = weak_from_this().lock();
    auto dataSource = this->dataSource();
    if (!dataSource || !isValid(indexPath) ||
        !dataSource->canEditRowAtIndexPath(*this, indexPath)) {
        return false;
    }
    auto delegate = this->delegate();
    auto style = delegate ? delegate->editingStyleForRowAtIndexPath(*this, indexPath)
                          : TableViewCellEditingStyle::Delete;
    if (style != TableViewCellEditingStyle::Delete) {
        return false;
    }
    dataSource->commitEditingStyle(*this, TableViewCellEditingStyle::Delete, indexPath);
    return true;
}

// --- View ---------------------------------------------------------------------------------

void TableView::setFrame(const Rect& frame) {
    double oldWidth = bounds().size.width;
    ScrollView::setFrame(frame);
    if (m_loaded && oldWidth != frame.size.width) {
        setContentSize(Size{frame.size.width, contentSize().height});
        if (m_tableHeaderView) {
            m_tableHeaderView->setFrame(
                Rect{{0, 0}, {frame.size.width, m_tableHeaderView->frame().size.height}});
        }
        if (m_tableFooterView) {
            m_tableFooterView->setFrame(Rect{
                {0, m_sectionsBottom}, {frame.size.width, m_tableFooterView->frame().size.height}});
        }
    }
    if (m_loaded) {
        tileCells();
    }
}

void TableView::layoutSubviews() {
    if (!m_loaded) {
        reloadData();
    } else {
        tileCells();
    }
}

void TableView::contentOffsetDidChange() {
    if (m_loaded) {
        tileCells();
    }
}

void TableView::draw(BitmapContext& context, const Rect& rect) {
    if (m_style != TableViewStyle::Plain || m_tableFooterView ||
        m_separatorStyle == TableViewCellSeparatorStyle::None || m_rowHeight <= 0) {
        return;
    }
    double line = 1.0 / Screen::main().scale();
    double left = m_separatorInset.left;
    double right = rect.size.width - m_separatorInset.right;
    for (double y = m_sectionsBottom + m_rowHeight; y - line < rect.maxY(); y += m_rowHeight) {
        if (y > rect.minY()) {
            context.fillRect(Rect{{rect.minX() + left, y - line}, {right - left, line}},
                             m_separatorColor);
        }
    }
}

std::string TableView::describe() const {
    return "table";
}

void TableView::touchesBegan(const Touches& touches) {
    m_touchedRow.reset();
    if (touches.empty() || (m_editing ? !m_allowsSelectionDuringEditing : !m_allowsSelection)) {
        return;
    }
    m_touchedRow = indexPathForRowAtPoint(touches.front().locationInView(this));
    m_touchBegan = touches.front().location;
    if (!m_touchedRow) {
        return;
    }
    auto delegate = this->delegate();
    if (delegate && !delegate->shouldHighlightRowAtIndexPath(*this, *m_touchedRow)) {
        return;
    }
    m_cells.setHighlighted(*m_touchedRow, true);
}

void TableView::touchesMoved(const Touches& touches) {
    if (m_touchedRow && !touches.empty() && movedBeyondTapTolerance(touches.front(), m_touchBegan))
        touchesCancelled(touches);
}

void TableView::touchesEnded(const Touches& touches) {
    auto row = m_touchedRow;
    m_touchedRow.reset();
    if (!row || touches.empty()) {
        return;
    }
    auto self = weak_from_this().lock();
    m_cells.setHighlighted(*row, false);
    Point point = touches.front().locationInView(this);
    if (indexPathForRowAtPoint(point) != row) {
        return;
    }
    // A tap on the info button of a detail accessory goes to the accessory.
    if (auto cell = cellForRowAtIndexPath(*row)) {
        auto type = cell->accessoryType();
        bool detail =
            !cell->accessoryView() && (type == TableViewCellAccessoryType::DetailButton ||
                                       type == TableViewCellAccessoryType::DetailDisclosureButton);
        if (detail && point.x >= bounds().maxX() - TableViewCell::accessoryWidth(type)) {
            tapAccessoryButtonForRowAtIndexPath(*row);
            return;
        }
    }
    tapRowAtIndexPath(*row);
}

void TableView::touchesCancelled(const Touches& /*touches*/) {
    if (m_touchedRow) {
        m_cells.setHighlighted(*m_touchedRow, false);
    }
    m_touchedRow.reset();
}

}  // namespace platform
