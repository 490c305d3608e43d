#include "runtime/ListControls.h"

#include <QHeaderView>

#include "runtime/QtText.h"

namespace runtime {

namespace {

constexpr int kStateRole = Qt::UserRole + 1;

} // namespace

void TImageList::Add(const QPixmap& image, const std::string& description) {
    images_.push_back(image);
    descriptions_.push_back(description);
}

QPixmap TImageList::Image(int index) const {
    if (index < 0 || index >= Count())
        return {};
    return images_[static_cast<std::size_t>(index)];
}

std::string TImageList::Description(int index) const {
    if (index < 0 || index >= Count())
        return {};
    return descriptions_[static_cast<std::size_t>(index)];
}

TCheckListBox::TCheckListBox(QWidget* parent, const std::string& name, const TBounds& bounds,
                             const std::string& spokenName)
    : QListWidget(parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
}

int TCheckListBox::AddItem(const std::string& text) {
    auto* item = new QListWidgetItem(ToQString(text), this);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    item->setSizeHint(QSize(0, itemHeight_));
    return count() - 1;
}

std::string TCheckListBox::ItemText(int index) const {
    return FromQString(item(index)->text());
}

bool TCheckListBox::Checked(int index) const {
    return item(index)->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(int index, bool checked) {
    item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

TTreeView::TTreeView(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName)
    : QTreeWidget(parent) {
    PlaceControl(*this, name, bounds);
    SetSpokenName(*this, spokenName);
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

int TTreeView::AddNode(const std::string& text, int stateIndex) {
    auto* item = new QTreeWidgetItem(this, QStringList{ToQString(text)});
    addTopLevelItem(item);
    int index = topLevelItemCount() - 1;
    SetStateIndex(index, stateIndex);
    return index;
}

std::string TTreeView::NodeText(int index) const {
    return FromQString(topLevelItem(index)->text(0));
}

int TTreeView::StateIndex(int index) const {
    return topLevelItem(index)->data(0, kStateRole).toInt();
}

void TTreeView::SetStateIndex(int index, int stateIndex) {
    QTreeWidgetItem* item = topLevelItem(index);
    item->setData(0, kStateRole, stateIndex);
    if (stateImages_ == nullptr)
        return;
    item->setIcon(0, QIcon(stateImages_->Image(stateIndex)));
    item->setData(0, Qt::AccessibleDescriptionRole, ToQString(stateImages_->Description(stateIndex)));
}

} // namespace runtime
