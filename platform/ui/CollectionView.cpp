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
    if (factory) {
        m_cellFactories[identifier] = std::move(factory);
    } else {
        m_cellFactories.erase(identifier);
    }
}

void CollectionView::registerSupplementaryFactory(const std::string& kind,
                                                  const std::string& identifier,
                                                  SupplementaryFactory factory) {
    if (factory) {
        m_supplementaryFactories[{kind, identifier}] = std::move(factory);
    } else {
        m_supplementaryFactories.erase({kind, identifier});
    }
}

std::shared_ptr<CollectionViewCell> CollectionView::dequeueReusableCellWithReuseIdentifier(
    const std::string& identifier, const IndexPath& /*indexPath*/) {
    auto pool = m_cellPool.find(identifier);
    if (pool != m_cellPool.end() && !pool->second.empty()) {
        auto cell = std::move(pool->second.back());
        pool->second.pop_back();
        cell->prepareForReuse();
        return cell;
    }
    std::shared_ptr<CollectionViewCell> cell;
    auto factory = m_cellFactories.find(identifier);
    if (factory != m_cellFactories.end()) {
        cell = factory->second();
    }
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
    auto pool = m_supplementaryPool.find({kind, identifier});
    if (pool != m_supplementaryPool.end() && !pool->second.empty()) {
        auto view = std::move(pool->second.back());
        pool->second.pop_back();
        view->prepareForReuse();
        return view;
    }
    std::shared_ptr<CollectionReusableView> view;
    auto factory = m_supplementaryFactories.find({kind, identifier});
    if (factory != m_supplementaryFactories.end()) {
        view = factory->second();
    }
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
    cell->removeFromSuperview();
    if (!cell->reuseIdentifier().empty()) {
        m_cellPool[cell->reuseIdentifier()].push_back(cell);
    }
    if (auto delegate = this->delegate()) {
        delegate->didEndDisplayingCell(*this, *cell, indexPath);
    }
}

void CollectionView::recycleSupplementary(const SupplementaryKey& key,
                                          const std::shared_ptr<CollectionReusableView>& view) {
    if (!view) {
        return;
    }
    view->removeFromSuperview();
    if (!view->reuseIdentifier().empty()) {
        m_supplementaryPool[{key.first, view->reuseIdentifier()}].push_back(view);
    }
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
    auto cells = std::move(m_visibleCells);
    m_visibleCells.clear();
    for (auto& [path, cell] : cells) {
        recycleCell(path, cell);
    }
    auto supplementary = std::move(m_visibleSupplementary);
    m_visibleSupplementary.clear();
    for (auto& [key, view] : supplementary) {
        recycleSupplementary(key, view);
    }
    m_selected.clear();
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
    auto sorted = indexPaths;
    std::sort(sorted.begin(), sorted.end());
    for (const auto& inserted : sorted) {
        auto remap = [&](const IndexPath& p) -> std::optional<IndexPath> {
            return indexPathAfterInsertion(p, inserted);
        };
        remapIndexPathKeys(m_visibleCells, remap, [](const IndexPath&, auto&) {});
        remapIndexPaths(m_selected, remap);
    }
    applyUpdates();
}

void CollectionView::deleteItemsAtIndexPaths(const std::vector<IndexPath>& indexPaths) {
    auto self = weak_from_this().lock();
    auto sorted = indexPaths;
    std::sort(sorted.rbegin(), sorted.rend());
    std::vector<std::pair<IndexPath, std::shared_ptr<CollectionViewCell>>> gone;
    for (const auto& deleted : sorted) {
        auto remap = [&](const IndexPath& p) { return indexPathAfterDeletion(p, deleted); };
        remapIndexPathKeys(m_visibleCells, remap,
                           [&](const IndexPath& p, auto& cell) { gone.emplace_back(p, cell); });
        remapIndexPaths(m_selected, remap);
    }
    for (auto& [path, cell] : gone) {
        recycleCell(path, cell);
    }
    applyUpdates();
}

void CollectionView::reloadItemsAtIndexPaths(const std::vector<IndexPath>& indexPaths) {
    auto self = weak_from_this().lock();
    for (const auto& path : indexPaths) {
        auto it = m_visibleCells.find(path);
        if (it != m_visibleCells.end()) {
            auto cell = std::move(it->second);
            m_visibleCells.erase(it);
            recycleCell(path, cell);
        }
    }
    applyUpdates();
}

void CollectionView::relocate(const IndexPath& from, const IndexPath& to) {
    auto remap = [&](const IndexPath& p) -> std::optional<IndexPath> {
        return indexPathAfterMove(p, from, to);
    };
    remapIndexPathKeys(m_visibleCells, remap, [](const IndexPath&, auto&) {});
    remapIndexPaths(m_selected, remap);
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
    auto sorted = sections;
    std::sort(sorted.begin(), sorted.end());
    for (int inserted : sorted) {
        auto remap = [&](const IndexPath& p) -> std::optional<IndexPath> {
            return p.section >= inserted ? IndexPath{p.section + 1, p.row} : p;
        };
        remapIndexPathKeys(m_visibleCells, remap, [](const IndexPath&, auto&) {});
        remapIndexPaths(m_selected, remap);
    }
    // Headers and footers of moved sections are asked for again.
    auto supplementary = std::move(m_visibleSupplementary);
    m_visibleSupplementary.clear();
    for (auto& [key, view] : supplementary) {
        recycleSupplementary(key, view);
    }
    applyUpdates();
}

void CollectionView::deleteSections(const std::vector<int>& sections) {
    auto self = weak_from_this().lock();
    auto sorted = sections;
    std::sort(sorted.rbegin(), sorted.rend());
    std::vector<std::pair<IndexPath, std::shared_ptr<CollectionViewCell>>> gone;
    for (int deleted : sorted) {
        auto remap = [&](const IndexPath& p) -> std::optional<IndexPath> {
            if (p.section == deleted) {
                return std::nullopt;
            }
            return p.section > deleted ? IndexPath{p.section - 1, p.row} : p;
        };
        remapIndexPathKeys(m_visibleCells, remap,
                           [&](const IndexPath& p, auto& cell) { gone.emplace_back(p, cell); });
        remapIndexPaths(m_selected, remap);
    }
    for (auto& [path, cell] : gone) {
        recycleCell(path, cell);
    }
    auto supplementary = std::move(m_visibleSupplementary);
    m_visibleSupplementary.clear();
    for (auto& [key, view] : supplementary) {
        recycleSupplementary(key, view);
    }
    applyUpdates();
}

void CollectionView::reloadSections(const std::vector<int>& sections) {
    auto self = weak_from_this().lock();
    auto inSections = [&](int section) {
        return std::find(sections.begin(), sections.end(), section) != sections.end();
    };
    for (auto it = m_visibleCells.begin(); it != m_visibleCells.end();) {
        if (inSections(it->first.section)) {
            auto path = it->first;
            auto cell = std::move(it->second);
            it = m_visibleCells.erase(it);
            recycleCell(path, cell);
        } else {
            ++it;
        }
    }
    for (auto it = m_visibleSupplementary.begin(); it != m_visibleSupplementary.end();) {
        if (inSections(it->first.second.section)) {
            auto key = it->first;
            auto view = std::move(it->second);
            it = m_visibleSupplementary.erase(it);
            recycleSupplementary(key, view);
        } else {
            ++it;
        }
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

    std::vector<std::pair<IndexPath, std::shared_ptr<CollectionViewCell>>> leaving;
    for (auto it = m_visibleCells.begin(); it != m_visibleCells.end();) {
        if (!wantedItems.count(it->first)) {
            leaving.emplace_back(it->first, std::move(it->second));
            it = m_visibleCells.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [path, cell] : leaving) {
        recycleCell(path, cell);
    }
    std::vector<std::pair<SupplementaryKey, std::shared_ptr<CollectionReusableView>>> leavingViews;
    for (auto it = m_visibleSupplementary.begin(); it != m_visibleSupplementary.end();) {
        if (!wantedSupplementary.count(it->first)) {
            leavingViews.emplace_back(it->first, std::move(it->second));
            it = m_visibleSupplementary.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [key, view] : leavingViews) {
        recycleSupplementary(key, view);
    }

    size_t cellLayer = m_backgroundView ? 1 : 0;
    for (const auto& a : attributes) {
        if (a.category == CollectionElementCategory::Cell) {
            auto existing = m_visibleCells.find(a.indexPath);
            if (existing != m_visibleCells.end()) {
                existing->second->applyLayoutAttributes(a);
                continue;
            }
            auto dataSource = this->dataSource();
            auto cell =
                dataSource ? dataSource->cellForItemAtIndexPath(*this, a.indexPath) : nullptr;
            if (!cell) {
                cell = View::make<CollectionViewCell>();
            }
            m_visibleCells[a.indexPath] = cell;
            cell->applyLayoutAttributes(a);
            cell->setSelected(isSelected(a.indexPath));
            if (auto delegate = this->delegate()) {
                delegate->willDisplayCell(*this, *cell, a.indexPath);
            }
            insertSubview(cell, cellLayer);
        } else {
            SupplementaryKey key{a.kind, a.indexPath};
            auto existing = m_visibleSupplementary.find(key);
            if (existing != m_visibleSupplementary.end()) {
                existing->second->applyLayoutAttributes(a);
                continue;
            }
            auto dataSource = this->dataSource();
            auto view = dataSource ? dataSource->viewForSupplementaryElementOfKind(*this, a.kind,
                                                                                   a.indexPath)
                                   : nullptr;
            if (!view) {
                continue;
            }
            m_visibleSupplementary[key] = view;
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
    auto it = m_visibleCells.find(indexPath);
    return it == m_visibleCells.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<CollectionViewCell>> CollectionView::visibleCells() const {
    std::vector<std::shared_ptr<CollectionViewCell>> cells;
    for (const auto& [path, cell] : m_visibleCells) {
        cells.push_back(cell);
    }
    return cells;
}

std::vector<IndexPath> CollectionView::indexPathsForVisibleItems() const {
    std::vector<IndexPath> paths;
    for (const auto& [path, cell] : m_visibleCells) {
        paths.push_back(path);
    }
    return paths;
}

std::optional<IndexPath> CollectionView::indexPathForCell(const CollectionViewCell& cell) const {
    for (const auto& [path, shown] : m_visibleCells) {
        if (shown.get() == &cell) {
            return path;
        }
    }
    return std::nullopt;
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
    auto it = m_visibleSupplementary.find({kind, indexPath});
    return it == m_visibleSupplementary.end() ? nullptr : it->second;
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

bool CollectionView::isSelected(const IndexPath& indexPath) const {
    return std::binary_search(m_selected.begin(), m_selected.end(), indexPath);
}

void CollectionView::setItemSelected(const IndexPath& indexPath, bool selected) {
    auto it = std::lower_bound(m_selected.begin(), m_selected.end(), indexPath);
    bool present = it != m_selected.end() && *it == indexPath;
    if (selected && !present) {
        m_selected.insert(it, indexPath);
    } else if (!selected && present) {
        m_selected.erase(it);
    }
    if (auto cell = cellForItemAtIndexPath(indexPath)) {
        cell->setSelected(selected);
    }
}

void CollectionView::selectItemAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated,
                                           CollectionViewScrollPosition position) {
    if (!indexPath) {
        auto selected = m_selected;
        for (const auto& path : selected) {
            setItemSelected(path, false);
        }
        return;
    }
    if (!isValid(*indexPath)) {
        return;
    }
    if (!m_allowsMultipleSelection) {
        auto selected = m_selected;
        for (const auto& path : selected) {
            if (path != *indexPath) {
                setItemSelected(path, false);
            }
        }
    }
    setItemSelected(*indexPath, true);
    if (position != CollectionViewScrollPosition::None) {
        scrollToItemAtIndexPath(*indexPath, position, animated);
    }
}

void CollectionView::deselectItemAtIndexPath(const IndexPath& indexPath, bool /*animated*/) {
    setItemSelected(indexPath, false);
}

void CollectionView::deselectWithDelegate(const IndexPath& indexPath) {
    setItemSelected(indexPath, false);
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
    if (m_allowsMultipleSelection && isSelected(indexPath)) {
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
        auto selected = m_selected;
        for (const auto& path : selected) {
            if (path != indexPath) {
                deselectWithDelegate(path);
            }
        }
    }
    setItemSelected(indexPath, true);
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
    if (!m_touchedItem) {
        return;
    }
    auto self = weak_from_this().lock();
    auto delegate = this->delegate();
    if (delegate && !delegate->shouldHighlightItemAtIndexPath(*this, *m_touchedItem)) {
        return;
    }
    if (auto cell = cellForItemAtIndexPath(*m_touchedItem)) {
        cell->setHighlighted(true);
    }
    if (delegate) {
        delegate->didHighlightItemAtIndexPath(*this, *m_touchedItem);
    }
}

void CollectionView::touchesMoved(const Touches& /*touches*/) {}

void CollectionView::touchesEnded(const Touches& touches) {
    auto item = m_touchedItem;
    m_touchedItem.reset();
    if (!item || touches.empty()) {
        return;
    }
    auto self = weak_from_this().lock();
    if (auto cell = cellForItemAtIndexPath(*item)) {
        cell->setHighlighted(false);
    }
    if (auto delegate = this->delegate()) {
        delegate->didUnhighlightItemAtIndexPath(*this, *item);
    }
    if (indexPathForItemAtPoint(touches.front().locationInView(this)) == item) {
        tapItemAtIndexPath(*item);
    }
}

void CollectionView::touchesCancelled(const Touches& /*touches*/) {
    if (m_touchedItem) {
        if (auto cell = cellForItemAtIndexPath(*m_touchedItem)) {
            cell->setHighlighted(false);
        }
    }
    m_touchedItem.reset();
}

}  // namespace platform
