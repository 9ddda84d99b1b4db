#include "shell/HomePageRootCollectionViewCell.h"

#include "platform/ui/CollectionView.h"
#include "platform/ui/CollectionViewFlowLayout.h"
#include "platform/ui/Screen.h"
#include "shell/HomePageCollectionViewCell.h"
#include "shell/HomePageRootCVCellDelegate.h"

HomePageRootCollectionViewCell::HomePageRootCollectionViewCell() {
    creatSubViews();
}

HomePageRootCollectionViewCell::HomePageRootCollectionViewCell(const platform::Rect& frame)
    : CollectionViewCell(frame) {
    creatSubViews();
}

HomePageRootCollectionViewCell::~HomePageRootCollectionViewCell() = default;

void HomePageRootCollectionViewCell::creatSubViews() {
    const auto screen = platform::Screen::main().size();
    const double widthScale = screen.width / 375;
    // Four tiles to a row and two rows to a page on every supported screen.
    auto layout = std::make_shared<platform::CollectionViewFlowLayout>();
    layout->setScrollDirection(platform::CollectionViewScrollDirection::Vertical);
    layout->setMinimumLineSpacing(widthScale * 18);
    layout->setMinimumInteritemSpacing(screen.height / 667 * 20);
    layout->setItemSize({60, 80});
    layout->setSectionInset({14, widthScale * 12, 14, widthScale * 12});

    m_myCollectionView = platform::View::make<platform::CollectionView>(
        platform::Rect{{0, 0}, {screen.width, kGridHeight}}, layout);
    m_myCollectionView->setBackgroundColor(platform::Color::white());
    m_myCollectionView->setScrollEnabled(false);
    m_myCollectionView->registerClass<HomePageCollectionViewCell>(
        HomePageCollectionViewCell::kReuseIdentifier);
    contentView()->addSubview(m_myCollectionView);
}

void HomePageRootCollectionViewCell::adoptInnerGrid() {
    if (m_adopted)
        return;
    auto self = std::dynamic_pointer_cast<HomePageRootCollectionViewCell>(weak_from_this().lock());
    if (!self)
        return;
    m_myCollectionView->setDataSource(
        std::static_pointer_cast<platform::CollectionViewDataSource>(self));
    m_myCollectionView->setDelegate(
        std::static_pointer_cast<platform::CollectionViewDelegate>(self));
    m_adopted = true;
}

void HomePageRootCollectionViewCell::setModelArr(TileList tiles) {
    m_modelArr = std::move(tiles);
}

void HomePageRootCollectionViewCell::reloadData() {
    adoptInnerGrid();
    m_myCollectionView->reloadData();
}

int HomePageRootCollectionViewCell::numberOfItemsInSection(platform::CollectionView& /*view*/,
                                                           int /*section*/) {
    return static_cast<int>(m_modelArr.size());
}

std::shared_ptr<platform::CollectionViewCell>
HomePageRootCollectionViewCell::cellForItemAtIndexPath(platform::CollectionView& collectionView,
                                                       const platform::IndexPath& indexPath) {
    auto cell = collectionView.dequeueReusableCellWithReuseIdentifier(
        HomePageCollectionViewCell::kReuseIdentifier, indexPath);
    if (auto tile = std::dynamic_pointer_cast<HomePageCollectionViewCell>(cell)) {
        const auto item = static_cast<size_t>(indexPath.item());
        tile->setDataModel(item < m_modelArr.size() ? m_modelArr[item] : nullptr);
    }
    return cell;
}

void HomePageRootCollectionViewCell::didSelectItemAtIndexPath(
    platform::CollectionView& collectionView, const platform::IndexPath& indexPath) {
    auto tile = std::dynamic_pointer_cast<HomePageCollectionViewCell>(
        collectionView.cellForItemAtIndexPath(indexPath));
    if (!tile || !tile->dataModel())
        return;
    // The delegate may rebuild the grid (and this page) while it acts on the name.
    const std::string methodName = tile->dataModel()->methodName;
    if (auto delegate = m_delegate.lock())
        delegate->PushVCWithName(methodName);
}
