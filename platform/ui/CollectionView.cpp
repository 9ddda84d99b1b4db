#include "platform/ui/CollectionView.h"

#include <algorithm>
#include <set>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/CollectionViewDataSource.h"
#include "platform/ui/CollectionViewDelegate.h"
#include "platform/ui/CollectionViewFlowLayout.h"
#include "platform/ui/IndexPathRemap.h"

namespace platform {

CollectionView::CollectionView(std::shared_ptr<CollectionViewFlowLayout> layout)
    : m_layout(std::move(layout)) {
    init();
}

CollectionView::CollectionView(const Rect& frame, std::shared_ptr<CollectionViewFlowLayout> layout)
    : ScrollView(frame), m_layout(std::move(layout)) {
    init();
}

CollectionView::~CollectionView() {
    if (m_layout && m_layout->m_collectionView == this) {
        m_layout->m_collectionView = nullptr;
    }
}

void CollectionView::init() {
    // The phone's collection views are black until given a colour.
    setBackgroundColor(Color::black());
    if (!m_layout) {
        m_layout = std::make_shared<CollectionViewFlowLayout>();
    }
    m_layout->m_collectionView = this;
}

void CollectionView::setCollectionViewLayout(std::shared_ptr<CollectionViewFlowLayout> layout,
                                             bool /*animated*/) {
    if (!layout || layout == m_layout) {
        return;
    }
    if (m_layout->m_collectionView == this) {
        m_layout->m_collectionView = nullptr;
    }
    m_layout = std::move(layout);
    m_layout->m_collectionView = this;
    if (m_loaded) {
        relayout();
    }
}

void CollectionView::setDataSource(std::weak_ptr<CollectionViewDataSource> dataSource) {
    m_dataSource = std::move(dataSource);
    m_loaded = false;
    setNeedsLayout();
}

std::shared_ptr<CollectionViewDelegate> CollectionView::delegate() const {
    return std::dynamic_pointer_cast<CollectionViewDelegate>(ScrollView::delegate());
}

void CollectionView::setDelegate(std::weak_ptr<CollectionViewDelegate> delegate) {
    auto strong = delegate.lock();
    ScrollView::setDelegate(std::static_pointer_cast<ScrollViewDelegate>(strong));
    if (m_loaded) {
        relayout();
    }
}

void CollectionView::setBackgroundView(std::shared_ptr<View> view) {
    if (m_backgroundView && m_backgroundView != view) {
        m_backgroundView->removeFromSuperview();
    }
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        insertSubview(m_backgroundView, 0);
        m_backgroundView->setFrame(bounds());
    }
}

void CollectionView::layoutDidInvalidate() {
    if (m_loaded) {
        relayout();
    }
}

// --- Reuse --------------------------------------------------------------------------------

void CollectionView::registerCellFactory(const std::string& identifier, CellFactory factory) {
    m_cellPool.registerFactory(identifier, std::move(factory));
}

void CollectionView::registerSupplementaryFactory(const std::string& kind,
                                                  const std::string& identifier,
                                                  SupplementaryFactory factory) {
    m_supplementaryPools[kind].registerFactory(identifier, std::move(factory));
}

std::shared_ptr<CollectionViewCell> CollectionView::dequeueReusableCellWithReuseIdentifier(
    const std::string& identifier, const IndexPath& /*indexPath*/) {
    auto cell = m_cellPool.dequeue(identifier);
    if (!cell) {
        // The phone stops the program for an unregistered identifier; a plain cell keeps
        // the view usable instead.
        cell = View::make<CollectionViewCell>();
    }
    cell->m_reuseIdentifier = identifier;
    return cell;
}

std::shared_ptr<CollectionReusableView> CollectionView::dequeueReusableSupplementaryViewOfKind(
    const std::string& kind, const std::string& identifier, const IndexPath& /*indexPath*/) {
    auto view = m_supplementaryPools[kind].dequeue(identifier);
    if (!view) {
        view = View::make<CollectionReusableView>();
    }
    view->m_reuseIdentifier = identifier;
    return view;
}

void CollectionView::recycleCell(const IndexPath& indexPath,
                                 const std::shared_ptr<CollectionViewCell>& cell) {
    if (!cell) {
        return;
    }
    cell->setHighlighted(false);
    m_cellPool.enqueue(cell);
    if (auto delegate = this->delegate()) {
        delegate->didEndDisplayingCell(*this, *cell, indexPath);
    }
}

void CollectionView::recycleSupplementary(const SupplementaryKey& key,
                                          const std::shared_ptr<CollectionReusableView>& view) {
    if (!view) {
        return;
    }
    m_supplementaryPools[key.first].enqueue(view);
}

// --- Data ---------------------------------------------------------------------------------

int CollectionView::numberOfItemsInSection(int section) const {
    if (section < 0 || section >= int(m_counts.size())) {
        return 0;
    }
    return m_counts[size_t(section)];
}

bool CollectionView::isValid(const IndexPath& indexPath) const {
    return indexPath.section >= 0 && indexPath.section < int(m_counts.size()) &&
           indexPath.row >= 0 && indexPath.row < m_counts[size_t(indexPath.section)];
}

void CollectionView::loadCounts() {
    std::vector<int> counts;
    if (auto dataSource = this->dataSource()) {
        int sections = std::max(0, dataSource->numberOfSections(*this));
        for (int s = 0; s < sections; ++s) {
            counts.push_back(std::max(0, dataSource->numberOfItemsInSection(*this, s)));
        }
    }
    m_counts = std::move(counts);
}

void CollectionView::relayout() {
    auto self = weak_from_this().lock();
    m_layout->prepareLayout(*this);
    setContentSize(m_layout->collectionViewContentSize());
    tile();
}

void CollectionView::reloadData() {
    auto self = weak_from_this().lock();
    m_loaded = true;
    m_moving.reset();
    m_touchedItem.reset();
    for (auto& [path, cell] : m_cells.takeAll()) {
        recycleCell(path, cell);
    }
    for (auto& [key, view] : m_visibleSupplementary.takeAll()) {
        recycleSupplementary(key, view);
    }
    m_cells.clearSelection();
    loadCounts();
    relayout();
}

void CollectionView::applyUpdates() {
    m_touchedItem.reset();
    if (m_batchDepth > 0) {
        m_updatesPending = true;
        return;
    }
    m_updatesPending = false;
    // The data source has the last word on the counts.
    loadCounts();
    relayout();
}

void CollectionView::insertItemsAtIndexPaths(const std::vector<IndexPath>& indexPaths) {
    auto self = weak_from_this().lock();
    m_cells.follow(remapsForInsertedItems(indexPaths));
    applyUpdates();
}

void CollectionView::deleteItemsAtIndexPaths(const std::vector<IndexPath>& indexPaths) {
    auto self = weak_from_this().lock();
    for (auto& [path, cell] : m_cells.follow(remapsForDeletedItems(indexPaths))) {
        recycleCell(path, cell);
    }
    applyUpdates();
}

void CollectionView::reloadItemsAtIndexPaths(const std::vector<IndexPath>& indexPaths) {
    auto self = weak_from_this().lock();
    for (const auto& path : indexPaths) {
        if (auto cell = m_cells.take(path)) {
            recycleCell(path, cell);
        }
    }
    applyUpdates();
}

void CollectionView::relocate(const IndexPath& from, const IndexPath& to) {
    m_cells.follow(remapsForMove(from, to));
    if (from.section != to.section && isValid(from) && to.section >= 0 &&
        to.section < int(m_counts.size())) {
        --m_counts[size_t(from.section)];
        ++m_counts[size_t(to.section)];
    }
}

void CollectionView::moveItemAtIndexPath(const IndexPath& from, const IndexPath& to) {
    auto self = weak_from_this().lock();
    relocate(from, to);
    applyUpdates();
}

void CollectionView::insertSections(const std::vector<int>& sections) {
    auto self = weak_from_this().lock();
    m_cells.follow(remapsForInsertedSections(sections));
    // Headers and footers of moved sections are asked for again.
    for (auto& [key, view] : m_visibleSupplementary.takeAll()) {
        recycleSupplementary(key, view);
    }
    applyUpdates();
}

void CollectionView::deleteSections(const std::vector<int>& sections) {
    auto self = weak_from_this().lock();
    for (auto& [path, cell] : m_cells.follow(remapsForDeletedSections(sections))) {
        recycleCell(path, cell);
    }
    for (auto& [key, view] : m_visibleSupplementary.takeAll()) {
        recycleSupplementary(key, view);
    }
    applyUpdates();
}

void CollectionView::reloadSections(const std::vector<int>& sections) {
    auto self = weak_from_this().lock();
    auto inSections = [&](int section) {
        return std::find(sections.begin(), sections.end(), section) != sections.end();
    };
    for (auto& [path, cell] :
         m_cells.takeIf([&](const IndexPath& path) { return inSections(path.section); })) {
        recycleCell(path, cell);
    }
    for (auto& [key, view] : m_visibleSupplementary.takeIf(
             [&](const SupplementaryKey& key) { return inSections(key.second.section); })) {
        recycleSupplementary(key, view);
    }
    applyUpdates();
}

void CollectionView::performBatchUpdates(const std::function<void()>& updates,
                                         const std::function<void(bool)>& completion) {
    auto self = weak_from_this().lock();
    ++m_batchDepth;
    if (updates) {
        updates();
    }
    --m_batchDepth;
    if (m_batchDepth == 0 && m_updatesPending) {
        applyUpdates();
    }
    if (completion) {
        // The updates animate on the phone; the completion follows the animation's time.
        RunLoop::main().postDelayed(seconds(kScrollAnimationDuration),
                                    [completion] { completion(true); });
    }
}

// --- What shows ---------------------------------------------------------------------------

void CollectionView::tile() {
    if (m_tiling) {
        return;
    }
    auto self = weak_from_this().lock();
    m_tiling = true;
    Rect visible = bounds();
    if (m_backgroundView) {
        m_backgroundView->setFrame(visible);
    }
    std::vector<CollectionViewLayoutAttributes> attributes;
    if (visible.size.width > 0 && visible.size.height > 0) {
        attributes = m_layout->layoutAttributesForElementsInRect(visible);
    }
    if (m_moving) {
        // The item under the finger stays in view wherever its slot is.
        bool listed = std::any_of(attributes.begin(), attributes.end(), [&](const auto& a) {
            return a.category == CollectionElementCategory::Cell &&
                   a.indexPath == m_moving->current;
        });
        auto moving = m_layout->layoutAttributesForItemAtIndexPath(m_moving->current);
        if (!listed && moving) {
            attributes.push_back(*moving);
        }
    }
    std::set<IndexPath> wantedItems;
    std::set<SupplementaryKey> wantedSupplementary;
    for (const auto& a : attributes) {
        if (a.category == CollectionElementCategory::Cell) {
            wantedItems.insert(a.indexPath);
        } else {
            wantedSupplementary.insert({a.kind, a.indexPath});
        }
    }

    for (auto& [path, cell] :
         m_cells.takeIf([&](const IndexPath& path) { return !wantedItems.count(path); })) {
        recycleCell(path, cell);
    }
    for (auto& [key, view] : m_visibleSupplementary.takeIf(
             [&](const SupplementaryKey& key) { return !wantedSupplementary.count(key); })) {
        recycleSupplementary(key, view);
    }

    size_t cellLayer = m_backgroundView ? 1 : 0;
    for (const auto& a : attributes) {
        if (a.category == CollectionElementCategory::Cell) {
            if (auto existing = m_cells.find(a.indexPath)) {
                existing->applyLayoutAttributes(a);
                continue;
            }
            auto dataSource = this->dataSource();
            auto cell =
                dataSource ? dataSource->cellForItemAtIndexPath(*this, a.indexPath) : nullptr;
            if (!cell) {
                cell = View::make<CollectionViewCell>();
            }
            m_cells.add(a.indexPath, cell);
            cell->applyLayoutAttributes(a);
            cell->setSelected(m_cells.isSelected(a.indexPath));
            if (auto delegate = this->delegate()) {
                delegate->willDisplayCell(*this, *cell, a.indexPath);
            }
            insertSubview(cell, cellLayer);
        } else {
            SupplementaryKey key{a.kind, a.indexPath};
            if (auto existing = m_visibleSupplementary.find(key)) {
                existing->applyLayoutAttributes(a);
                continue;
            }
            auto dataSource = this->dataSource();
            auto view = dataSource ? dataSource->viewForSupplementaryElementOfKind(*this, a.kind,
                                                                                   a.indexPath)
                                   : nullptr;
            if (!view) {
                continue;
            }
            m_visibleSupplementary.add(key, view);
            view->applyLayoutAttributes(a);
            if (auto delegate = this->delegate()) {
                delegate->willDisplaySupplementaryView(*this, *view, a.kind, a.indexPath);
            }
            addSubview(view);
        }
    }
    if (m_moving) {
        if (auto cell = cellForItemAtIndexPath(m_moving->current)) {
            cell->setCenter(m_moving->position);
            bringSubviewToFront(cell.get());
        }
    }
    m_tiling = false;
}

std::shared_ptr<CollectionViewCell> CollectionView::cellForItemAtIndexPath(
    const IndexPath& indexPath) const {
    return m_cells.find(indexPath);
}

std::vector<std::shared_ptr<CollectionViewCell>> CollectionView::visibleCells() const {
    return m_cells.views();
}

std::vector<IndexPath> CollectionView::indexPathsForVisibleItems() const {
    return m_cells.keys();
}

std::optional<IndexPath> CollectionView::indexPathForCell(const CollectionViewCell& cell) const {
    return m_cells.keyOf(cell);
}

std::optional<IndexPath> CollectionView::indexPathForItemAtPoint(Point point) const {
    for (int s = 0; s < numberOfSections(); ++s) {
        for (int i = 0; i < numberOfItemsInSection(s); ++i) {
            auto attributes = m_layout->layoutAttributesForItemAtIndexPath(IndexPath{s, i});
            if (attributes && attributes->frame.contains(point)) {
                return IndexPath{s, i};
            }
        }
    }
    return std::nullopt;
}

std::optional<CollectionViewLayoutAttributes> CollectionView::layoutAttributesForItemAtIndexPath(
    const IndexPath& indexPath) const {
    return m_layout->layoutAttributesForItemAtIndexPath(indexPath);
}

std::optional<CollectionViewLayoutAttributes>
CollectionView::layoutAttributesForSupplementaryElementOfKind(const std::string& kind,
                                                              const IndexPath& indexPath) const {
    return m_layout->layoutAttributesForSupplementaryViewOfKind(kind, indexPath);
}

std::shared_ptr<CollectionReusableView> CollectionView::supplementaryViewForElementKind(
    const std::string& kind, const IndexPath& indexPath) const {
    return m_visibleSupplementary.find({kind, indexPath});
}

std::vector<std::shared_ptr<CollectionReusableView>>
CollectionView::visibleSupplementaryViewsOfKind(const std::string& kind) const {
    std::vector<std::shared_ptr<CollectionReusableView>> views;
    for (const auto& [key, view] : m_visibleSupplementary) {
        if (key.first == kind) {
            views.push_back(view);
        }
    }
    return views;
}

void CollectionView::scrollToItemAtIndexPath(const IndexPath& indexPath,
                                             CollectionViewScrollPosition position, bool animated) {
    auto attributes = m_layout->layoutAttributesForItemAtIndexPath(indexPath);
    if (!attributes) {
        return;
    }
    Rect frame = attributes->frame;
    Size size = bounds().size;
    EdgeInsets inset = contentInset();
    Point offset = contentOffset();
    switch (position) {
        case CollectionViewScrollPosition::None:
            scrollRectToVisible(frame, animated);
            return;
        case CollectionViewScrollPosition::Top:
            offset.y = frame.minY() - inset.top;
            break;
        case CollectionViewScrollPosition::CenteredVertically:
            offset.y = frame.midY() - size.height / 2;
            break;
        case CollectionViewScrollPosition::Bottom:
            offset.y = frame.maxY() - size.height + inset.bottom;
            break;
        case CollectionViewScrollPosition::Left:
            offset.x = frame.minX() - inset.left;
            break;
        case CollectionViewScrollPosition::CenteredHorizontally:
            offset.x = frame.midX() - size.width / 2;
            break;
        case CollectionViewScrollPosition::Right:
            offset.x = frame.maxX() - size.width + inset.right;
            break;
    }
    Point min = minimumContentOffset();
    Point max = maximumContentOffset();
    offset = {std::clamp(offset.x, min.x, max.x), std::clamp(offset.y, min.y, max.y)};
    setContentOffset(offset, animated);
}

// --- Selection ----------------------------------------------------------------------------

void CollectionView::selectItemAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated,
                                           CollectionViewScrollPosition position) {
    if (indexPath && !isValid(*indexPath)) {
        return;
    }
    m_cells.select(indexPath, m_allowsMultipleSelection);
    if (indexPath && position != CollectionViewScrollPosition::None) {
        scrollToItemAtIndexPath(*indexPath, position, animated);
    }
}

void CollectionView::deselectItemAtIndexPath(const IndexPath& indexPath, bool /*animated*/) {
    m_cells.setSelected(indexPath, false);
}

void CollectionView::deselectWithDelegate(const IndexPath& indexPath) {
    m_cells.setSelected(indexPath, false);
    if (auto delegate = this->delegate()) {
        delegate->didDeselectItemAtIndexPath(*this, indexPath);
    }
}

bool CollectionView::tapItemAtIndexPath(const IndexPath& indexPath) {
    auto self = weak_from_this().lock();
    if (!isValid(indexPath) || !m_allowsSelection) {
        return false;
    }
    auto delegate = this->delegate();
    if (delegate && !delegate->shouldHighlightItemAtIndexPath(*this, indexPath)) {
        return false;
    }
    if (m_allowsMultipleSelection && m_cells.isSelected(indexPath)) {
        // With several items selectable, a tap on a selected item deselects it.
        if (!delegate || delegate->shouldDeselectItemAtIndexPath(*this, indexPath)) {
            deselectWithDelegate(indexPath);
        }
        return false;
    }
    if (delegate && !delegate->shouldSelectItemAtIndexPath(*this, indexPath)) {
        return false;
    }
    if (!m_allowsMultipleSelection) {
        m_cells.forEachSelectedOtherThan(
            indexPath, [this](const IndexPath& path) { deselectWithDelegate(path); });
    }
    m_cells.setSelected(indexPath, true);
    if ((delegate = this->delegate())) {
        delegate->didSelectItemAtIndexPath(*this, indexPath);
    }
    return true;
}

// --- Interactive movement -------------------------------------------------------------------

bool CollectionView::beginInteractiveMovementForItemAtIndexPath(const IndexPath& indexPath) {
    auto self = weak_from_this().lock();
    auto dataSource = this->dataSource();
    if (m_moving || !dataSource || !isValid(indexPath) ||
        !dataSource->canMoveItemAtIndexPath(*this, indexPath)) {
        return false;
    }
    auto attributes = m_layout->layoutAttributesForItemAtIndexPath(indexPath);
    if (!attributes) {
        return false;
    }
    m_moving = Movement{indexPath, indexPath, attributes->center()};
    tile();
    return true;
}

void CollectionView::updateInteractiveMovementTargetPosition(Point position) {
    if (!m_moving) {
        return;
    }
    auto self = weak_from_this().lock();
    m_moving->position = position;
    auto proposed = indexPathForItemAtPoint(position);
    if (proposed && *proposed != m_moving->current) {
        IndexPath target = *proposed;
        if (auto delegate = this->delegate()) {
            target = delegate->targetIndexPathForMoveFromItemAtIndexPath(*this, m_moving->original,
                                                                         *proposed);
        }
        if (m_moving && isValid(target) && target != m_moving->current) {
            relocate(m_moving->current, target);
            m_moving->current = target;
            relayout();
            return;
        }
    }
    tile();
}

void CollectionView::endInteractiveMovement() {
    if (!m_moving) {
        return;
    }
    auto self = weak_from_this().lock();
    Movement movement = *m_moving;
    m_moving.reset();
    if (movement.current != movement.original) {
        if (auto dataSource = this->dataSource()) {
            dataSource->moveItemAtIndexPath(*this, movement.original, movement.current);
        }
    }
    loadCounts();
    relayout();
}

void CollectionView::cancelInteractiveMovement() {
    if (!m_moving) {
        return;
    }
    auto self = weak_from_this().lock();
    Movement movement = *m_moving;
    m_moving.reset();
    if (movement.current != movement.original) {
        relocate(movement.current, movement.original);
    }
    relayout();
}

// --- View ---------------------------------------------------------------------------------

void CollectionView::setFrame(const Rect& frame) {
    Size old = bounds().size;
    ScrollView::setFrame(frame);
    if (m_loaded && !(old == frame.size)) {
        relayout();
    }
}

void CollectionView::layoutSubviews() {
    if (!m_loaded) {
        reloadData();
    } else {
        tile();
    }
}

void CollectionView::contentOffsetDidChange() {
    if (m_loaded) {
        tile();
    }
}

std::string CollectionView::describe() const {
    return "collection";
}

void CollectionView::touchesBegan(const Touches& touches) {
    m_touchedItem.reset();
    if (touches.empty() || !m_allowsSelection) {
        return;
    }
    m_touchedItem = indexPathForItemAtPoint(touches.front().locationInView(this));
    m_touchBegan = touches.front().location;
    if (!m_touchedItem) {
        return;
    }
    auto self = weak_from_this().lock();
    auto delegate = this->delegate();
    if (delegate && !delegate->shouldHighlightItemAtIndexPath(*this, *m_touchedItem)) {
        return;
    }
    m_cells.setHighlighted(*m_touchedItem, true);
    if (delegate) {
        delegate->didHighlightItemAtIndexPath(*this, *m_touchedItem);
    }
}

void CollectionView::touchesMoved(const Touches& touches) {
    if (m_touchedItem && !touches.empty() && movedBeyondTapTolerance(touches.front(), m_touchBegan))
        touchesCancelled(touches);
}

void CollectionView::touchesEnded(const Touches& touches) {
    auto item = m_touchedItem;
    m_touchedItem.reset();
    if (!item || touches.empty()) {
        return;
    }
    auto self = weak_from_this().lock();
    m_cells.setHighlighted(*item, false);
    if (auto delegate = this->delegate()) {
        delegate->didUnhighlightItemAtIndexPath(*this, *item);
    }
    if (indexPathForItemAtPoint(touches.front().locationInView(this)) == item) {
        tapItemAtIndexPath(*item);
    }
}

void CollectionView::touchesCancelled(const Touches& /*touches*/) {
    auto item = m_touchedItem;
    m_touchedItem.reset();
    if (!item) {
        return;
    }
    auto self = weak_from_this().lock();
    m_cells.setHighlighted(*item, false);
    if (auto delegate = this->delegate()) {
        delegate->didUnhighlightItemAtIndexPath(*this, *item);
    }
}

}  // namespace platform
